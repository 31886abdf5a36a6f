#pragma once
// Reading the tests' data files: plain text, one case per line, white-space separated fields,
// lines starting with '#' are comments. The golden files under tests/golden/ are written by
// tests/model/model.py; values in them are IEEE bit patterns in hex, compared bit for bit.
// The build passes the tests folder in as VORANDEL_TEST_DATA_DIR.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using DataLine = std::vector<std::string>;

// The lines of tests/<relative>, comments and blank lines left out. A missing file fails the test.
inline std::vector<DataLine> readDataLines(const std::string& relative) {
    const std::string path = std::string(VORANDEL_TEST_DATA_DIR) + "/" + relative;
    std::ifstream in(path);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::vector<DataLine> lines;
    std::string text;
    while (std::getline(in, text)) {
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::istringstream fields(text);
        DataLine line;
        for (std::string field; fields >> field;) {
            line.push_back(field);
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The bit patterns of floats and doubles as the data files write them: lower-case hex, 8 or 16
// digits. Comparing these strings compares the bits and shows both values readably on failure.
inline std::string hexBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(bits));
    return text;
}

inline std::string hexBits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

inline float floatFromHex(const std::string& hex) {
    const auto bits = static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline double doubleFromHex(const std::string& hex) {
    const auto bits = static_cast<std::uint64_t>(std::stoull(hex, nullptr, 16));
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
