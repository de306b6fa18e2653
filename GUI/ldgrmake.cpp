// ldgrmake, the "Log Offline Job" program: start-up, then one offline job record.
#include "platform/Platform.h"

int main(int argc, char** argv) {
    platform::StartProgram(argc, argv);
    return 0;
}
