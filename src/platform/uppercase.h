#pragma once

#include <string>

// An upper-case copy of `text` by the platform's rules for single-byte text.
std::string UppercaseAnsi(const std::string& text);
