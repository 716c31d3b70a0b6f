// Does nothing for a minute, then exits with 7. The process tests start
// copies of it under names of their own and end them; the time limit keeps a
// copy from outliving a test that broke off.
#include <windows.h>

int main() {
  Sleep(60000);
  return 7;
}
