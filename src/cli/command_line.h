// The command line: the options, and the run that they choose (the
// dialogue, or the predictions of a scenario file).
#ifndef ZELVORN_CLI_COMMAND_LINE_H_
#define ZELVORN_CLI_COMMAND_LINE_H_

// Runs the calculator as `argv` asks and returns the exit status: 0 when
// all went well, 1 when the input ended before an answer or a scenario was
// invalid, 2 for a wrong option or when the input or the output could not
// be read or written.
int runCommandLine(int argc, char** argv);

#endif  // ZELVORN_CLI_COMMAND_LINE_H_
