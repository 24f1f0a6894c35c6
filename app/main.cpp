#include <string>
#include <vector>

#include "app/Application.h"

int main(int argc, char** argv) {
    return moonbrook::runApplication(std::vector<std::string>(argv + 1, argv + argc));
}
