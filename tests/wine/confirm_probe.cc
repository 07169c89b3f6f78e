// Shows the tool's confirmation for the prompt given and prints the modal result, so
// that the Wine suite can tell No (Escape) from Cancel (close box, Alt+F4).
#include <cstdio>

#include "platform/confirm.h"

int main(int argc, char** argv) {
  std::printf("%d\n", ConfirmYesNo(argc > 1 ? argv[1] : ""));
  return 0;
}
