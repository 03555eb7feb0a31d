// Holds a serial port open the way the program opens it, until standard input closes.
#include "platform/serial/serial_port.h"

#include <cstdio>

#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: serial_holder PATH\n");
        return 2;
    }
    platform::SerialPort port;
    if (!port.open(QString::fromLocal8Bit(argv[1]))) {
        std::printf("failed %d\n", port.lastError());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    return 0;
}
