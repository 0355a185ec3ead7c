// Scenario files: a file chosen by the player read as --scenario reads it,
// and the combat written as --save writes it.

// The messages for a file that is refused before it is read, as the
// command line words them for a scenario longer than `longest` bytes.
export function tooLargeMessages(name, size, longest) {
  if (size <= longest) return null;
  const mib = longest / (1024 * 1024) + ' MiB';
  return [name + ':1: scenario: longer than ' + mib + ' (allowed: one JSON object of at most ' +
          mib + ')'];
}

// Reads a chosen file through the calculator: {messages, valid, values},
// as the calculator's reading gives them, or the refusal of a file that is
// too large.
export async function readFile(calc, file, longest) {
  const refused = tooLargeMessages(file.name, file.size, longest);
  if (refused) return {messages: refused, refused: true, valid: false, values: null};
  const bytes = new Uint8Array(await file.arrayBuffer());
  return calc.read(bytes, file.name);
}

// Offers a scenario text as a file to download.
export function download(text, name) {
  const url = URL.createObjectURL(new Blob([text], {type: 'application/json'}));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}
