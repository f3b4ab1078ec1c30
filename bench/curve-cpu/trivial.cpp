// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of `make bench-curve`: a C++ program that starts, writes one line with the
// standard library's streams and exits.
#include <iostream>

int main() {
    std::cout << "trivial\n";
    return 0;
}
