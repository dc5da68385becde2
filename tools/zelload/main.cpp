// zelload: logs in simulated users on loopback, makes rooms and sends text
// traffic at a given rate, and reports throughput, latency and server memory.
#include <iostream>

#include "LoadDriver.h"
#include "LoadOptions.h"

int main(int argc, char** argv)
{
    zel::load::TLoadOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error)) {
        std::cerr << "zelload: " << error << "\n" << zel::load::TLoadOptions::Usage();
        return 2;
    }
    zel::load::TLoadDriver driver(options);
    return driver.Run();
}
