// "What if": one scenario predicted for every whole value of one of its
// fields, as a table, CSV or JSON Lines.
#ifndef ZELVORN_FILES_SWEEP_H_
#define ZELVORN_FILES_SWEEP_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/scenario_reader.h"
#include "io/output.h"

// The most values one sweep may take.
constexpr std::int64_t kMostSweepValues = 100000;

enum class OutputFormat { text, json, csv };

// FIELD=FROM..TO as the command line gives it.
struct SweepRequest {
  std::string field;
  std::int64_t from = 0;
  std::int64_t to = 0;
};

// Parses FIELD=FROM..TO; gives the reason when it is not of that form.
std::optional<SweepRequest> parseSweepRequest(std::string_view text,
                                              std::string* error);

// Checks the sweep against the scenario (the field exists and is asked for
// this combat, the values lie in its range and are not too many, every
// value gives a valid scenario) and then writes one row per value to
// `out`.  Returns false with `*error` set, before writing anything, when
// the sweep cannot be made.
bool runSweep(const ScenarioText& scenario, const SweepRequest& request,
              OutputFormat format, Output* out, Problem* error);

#endif  // ZELVORN_FILES_SWEEP_H_
