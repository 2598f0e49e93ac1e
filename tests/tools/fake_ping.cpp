// Stands in for the system's ping program in tests: answers "ping -c 1 -W 1 ADDRESS" with
// 0 (a reply) for 127.0.0.1, 1 (no reply) for 127.0.0.2 and 2 (cannot send) for anything
// else; any other argument shape ends with 3. It sends nothing.
#include <string>

int main(int argc, char** argv)
{
    if (argc != 6 || std::string(argv[1]) != "-c" || std::string(argv[2]) != "1" ||
        std::string(argv[3]) != "-W" || std::string(argv[4]) != "1")
        return 3;
    const std::string address = argv[5];
    if (address == "127.0.0.1")
        return 0;
    return address == "127.0.0.2" ? 1 : 2;
}
