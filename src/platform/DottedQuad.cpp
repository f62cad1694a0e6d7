#include "platform/Network.h"

namespace platform {

bool ParseDottedQuad(const char* text, unsigned char (&parts)[4])
{
    if (text == nullptr) {
        return false;
    }
    unsigned char read[4] = {};
    const char* c = text;
    for (int field = 0; field < 4; ++field) {
        if (field > 0 && *c++ != '.') {
            return false;
        }
        unsigned value = 0;
        int digits = 0;
        for (; *c >= '0' && *c <= '9'; ++c) {
            if (++digits > 3) {
                return false;
            }
            value = value * 10 + static_cast<unsigned>(*c - '0');
        }
        if (digits == 0 || value > 255) {
            return false;
        }
        read[field] = static_cast<unsigned char>(value);
    }
    if (*c != '\0') {
        return false;
    }
    for (int field = 0; field < 4; ++field) {
        parts[field] = read[field];
    }
    return true;
}

} // namespace platform
