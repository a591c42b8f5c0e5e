#include "cli/Befehle.h"

int main(int argc, char** argv) {
    return zw::cli::Ausfuehren(std::vector<std::string>(argv + 1, argv + argc));
}
