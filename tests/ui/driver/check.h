// Test outcomes: every check prints one line, and failures are counted for the exit code.
#pragma once

#include <string>

bool Check(bool ok, const std::string& what);
bool CheckText(const std::string& actual, const std::string& expected, const std::string& what);
int FailureCount();

// Shows control characters as C escapes, so "\n" in a message box text is visible.
std::string Printable(const std::string& text);
