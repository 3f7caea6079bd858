#include <cstdio>

int main() {
  std::puts("zarvel: the application window is not built yet; run scripts/test for the libraries.");
  return 0;
}
