// The program entry, nothing more.
#include <cstdio>

int main() {
    std::puts("Pelmaro: the window arrives with the application layer.");
    return 0;
}
