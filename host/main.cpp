#include "host/host.h"

int main() {
    return HostRun();
}
