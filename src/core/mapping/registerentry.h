#pragma once

#include <string>

namespace setforge {

// One mapping entry: a Modbus register and the frame bytes that fill its two halves.
struct RegisterEntry {
    std::string registerIndex; // register index exactly as typed ("100", "0x64", " 100")
    int highPart = 0;          // source of the register's high byte: 0 none, k data byte k (from 1)
    int lowPart = 0;           // source of the register's low byte, same coding
    int sendOnWrite = 0;       // transmit editor only: 1 sends the PDO when the master writes the register

    // Equal entries are written alike to the mapping file.
    bool operator==(const RegisterEntry&) const = default;
};

// The byte selector stored in the mapping files: high part in the upper four bits, low part in
// the lower four. Parts must lie in 0..15; the editors never offer more.
int packByteSelector(int highPart, int lowPart);

// Splits a stored byte selector into its high and low part (each 0..15), whatever the value.
void unpackByteSelector(int selector, int& highPart, int& lowPart);

} // namespace setforge
