// The program entry, nothing more.
#include "app/entry.h"

int main() { return ProgramEntry(); }
