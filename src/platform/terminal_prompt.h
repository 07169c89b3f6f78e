#pragma once

// The terminal question behind ConfirmYesNo on POSIX, over any pair of file
// descriptors so that tests can drive it through a pipe.
int AskYesNo(int in, int out, const char* prompt);
