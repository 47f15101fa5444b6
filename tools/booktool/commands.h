// The commands of vantle-book: check, dump, convert and where.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "books/catalogue.h"

namespace booktool {

inline constexpr int kExitGood = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Runs vantle-book with its arguments (without the program name); returns the exit code.
int RunBookTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes `bytes` to `path` through a temporary file beside it, which `verify` (when given)
// may read first; never replaces an existing file unless `force`. False with `error` set
// when anything fails; the temporary file is gone either way.
bool WriteAtomically(
    const std::string& path, const std::string& bytes, bool force, std::string& error,
    const std::function<bool(const std::string& temp, std::string& error)>& verify = {});

}  // namespace booktool
