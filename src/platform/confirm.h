#pragma once

// Modal results of a Yes/No confirmation.
constexpr int kModalYes = 6;
constexpr int kModalNo = 7;
constexpr int kModalCancel = 2;

// Asks the user the Yes/No question `prompt` and blocks until answered:
// kModalYes only when the user chose Yes, kModalNo for No, kModalCancel when
// the question was dismissed without an answer.
int ConfirmYesNo(const char* prompt);
