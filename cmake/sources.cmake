# The calculator's sources, listed once for the program, the tests and the
# web page (web/CMakeLists.txt).  Paths are absolute, so that any build that
# includes this file finds them.
#
# Sets ZELVORN_LIBRARY_SOURCES (the model, the scenario files and the
# reports, with the text input and output they read and write through),
# ZELVORN_PROGRAM_SOURCES (the dialogue and the command line) and
# ZELVORN_MAIN_SOURCE.

get_filename_component(zelvorn_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

set(ZELVORN_LIBRARY_SOURCES
  src/combat/advice.cc
  src/combat/combat.cc
  src/combat/differences.cc
  src/combat/exchange.cc
  src/combat/final_limits.cc
  src/combat/fire.cc
  src/combat/first_strike.cc
  src/combat/initiative.cc
  src/combat/modifiers.cc
  src/combat/questions.cc
  src/combat/rugged.cc
  src/combat/support_fire.cc
  src/files/advise.cc
  src/files/compare.cc
  src/files/json_answer.cc
  src/files/json_reader.cc
  src/files/preset_use.cc
  src/files/problem.cc
  src/files/roster_reader.cc
  src/files/scenario_file.cc
  src/files/scenario_reader.cc
  src/files/scenario_source.cc
  src/files/sweep.cc
  src/io/input.cc
  src/io/line_editor.cc
  src/io/output.cc
  src/report/compare_table.cc
  src/report/json_text.cc
  src/report/advice_report.cc
  src/report/prediction_json.cc
  src/report/prediction_table.cc
  src/report/report.cc
  src/report/scenario_json.cc
  src/scenario/combat_scenario.cc
  src/scenario/exact.cc
  src/scenario/field_path.cc
  src/scenario/preset_fields.cc
  src/scenario/roster.cc
  src/scenario/scenario_fields.cc
)
list(TRANSFORM ZELVORN_LIBRARY_SOURCES PREPEND ${zelvorn_root}/)

set(ZELVORN_PROGRAM_SOURCES
  src/cli/command_line.cc
  src/dialogue/attacker_attributes.cc
  src/dialogue/combat_support.cc
  src/dialogue/console.cc
  src/dialogue/defender_attributes.cc
  src/dialogue/general_factors.cc
  src/dialogue/main_loop.cc
  src/dialogue/preset_choice.cc
  src/dialogue/report_pass.cc
  src/dialogue/softening.cc
  src/dialogue/support_fire.cc
  src/dialogue/terrain_factors.cc
)
list(TRANSFORM ZELVORN_PROGRAM_SOURCES PREPEND ${zelvorn_root}/)

set(ZELVORN_MAIN_SOURCE ${zelvorn_root}/src/main.cc)
