#include "console_loop.h"
#include "device_link.h"

int main() {
    select_device(0);
    return console_loop();
}
