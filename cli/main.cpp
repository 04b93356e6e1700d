#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::cout << "usage: plakett-render INPUT OUTPUT\n";
        return 0;
    }
    std::cerr << "plakett-render: not yet able to render\n";
    return 2;
}
