// Fuzz target: reply framing and field splitting as Transact applies them to bytes off the line.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "link/ReplyFields.h"
#include "link/ReplyFramer.h"
#include "link/Zeb530.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The bytes are one stream: replies follow each other as they would on the line.
    size_t at = 0;
    while (at < size) {
        char reply[CZeb530::kReplySize];
        std::memset(reply, 0, sizeof reply);
        CReplyFramer framer(reply, sizeof reply);
        while (at < size &&
               framer.Push(static_cast<char>(data[at])) == CReplyFramer::State::Incomplete) {
            ++at;
        }
        ++at;
        if (framer.Length() >= sizeof reply || reply[framer.Length()] != '\0') {
            __builtin_trap();
        }
        if (framer.GetState() != CReplyFramer::State::Complete) {
            continue;
        }
        char* field[kReplyFieldSlots];
        const int count = CReplyFields::Split(reply, field);
        if (count < 0 || count >= kReplyFieldSlots) {
            __builtin_trap();
        }
        if (!CReplyFields::Accepted(field, count)) {
            continue;
        }
        for (int k = 1; k <= count; ++k) {
            if (field[k] < reply || field[k] >= reply + sizeof reply) {
                __builtin_trap();
            }
            volatile int i = CReplyFields::ToInt(field[k]);
            volatile float f = CReplyFields::ToFloat(field[k]);
            volatile auto s = static_cast<int16_t>(CReplyFields::ToInt(field[k]));
            (void)i;
            (void)f;
            (void)s;
        }
    }
    return 0;
}
