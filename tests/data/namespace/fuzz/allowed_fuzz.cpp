#include <cstddef>
#include <cstdint>

namespace setforge {
void feed(const uint8_t* data, size_t size);
} // namespace setforge

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    setforge::feed(data, size);
    return 0;
}

using namespace setforge;

int main() { return 0; }
