// The maker's name from the leading characters of a drive model, and the
// Windows formula that builds an I/O control code.
#pragma once

#include <cstdint>
#include <string>

// Empty when no known prefix matches.
std::string GetManufacturer(const std::string& model);

constexpr uint32_t CtlCode(uint32_t deviceType, uint32_t function, uint32_t method, uint32_t access) {
    return (deviceType << 16) | (access << 14) | (function << 2) | method;
}
