// The baseline of the headless commands in their own language: a C++ program printing one line
// through the standard streams, with the C++ library loaded as the program loads it.
#include <iostream>

int main()
{
    std::cout << "0\n";
    return 0;
}
