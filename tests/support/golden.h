// Golden files: the cases of a folder under tests/data, the output of a
// command, and the comparison of an output with its expected file, which
// writes a mismatch to NAME.actual in the build folder for review.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qw::testing {

// The folder tests/data/`name`.
std::filesystem::path DataDir(const std::string& name);

// The stems of the files of `dir` that end with `extension` (".prg"), or, for
// an empty extension, the names of its folders; sorted.
std::vector<std::string> CaseNames(const std::filesystem::path& dir, const std::string& extension);

std::string ReadBytes(const std::filesystem::path& path);

// Fails unless `actual` is the content of `expected`, which must exist; the
// output of a failing case `name` is left in the build folder as NAME.actual.
// What the shell command `command` writes on stdout; its exit status in `status`.
std::string ShellOutput(const std::string& command, int* status = nullptr);

void ExpectGolden(const std::filesystem::path& expected, const std::string& actual,
                  const std::string& name);

}  // namespace qw::testing
