#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "DataSet.h"

inline constexpr const char* DataFileName = "USData.csv";

// Reads a data file in the USData.csv layout into a fresh data set: the 266 records of
// 23 fields, the presence mask, NumPresent and the time measures. Throws RunError naming
// the file, and the record and field where reading failed; nothing is shared with an
// earlier data set, so a failed load leaves the caller's data untouched.
std::unique_ptr<DataSet> LoadDataFile(const std::string& path);

// The same from text already in memory; `name` is used in messages. The counts are those
// of the data file; tests pass smaller ones to load small hand-made tables.
std::unique_ptr<DataSet> LoadDataText(std::string_view text, const std::string& name, int numCities = 266,
                                      int16_t numDates = 22);

// The whole file, after the checks LoadDataFile makes (exists, not a folder, a regular file).
std::string ReadDataBytes(const std::string& path);

// The calendar from DateYear (TimeFraction, StepFraction, DateWeight, AngleStep), and the
// presence mask: a population not above 0 is absent and stored as 1.0; NumPresent counts.
void DeriveTimeMeasures(DataSet& d);
void MarkPresence(DataSet& d);

// Text of a file as an error message shows it: control characters as \xNN escapes and at
// most 40 characters, so that a binary or 100 MB field still gives a one-line message.
std::string Shown(std::string_view text);
