// CReplyFields: splits an accepted text reply into fields and converts field texts.
#pragma once

inline constexpr int kReplyFieldSlots = 10;  // slot 0 is unused: fields count from 1

class CReplyFields {
public:
    // Splits reply in place at every ',' and '\r' (runs of separators count as one) and stores
    // fields 1..9 in field[1..9]; the other slots become null. Returns the number of fields.
    static int Split(char* reply, char* (&field)[kReplyFieldSlots]);
    // True when the last field stored is exactly "OK".
    static bool Accepted(char* const (&field)[kReplyFieldSlots], int count);

    // The leading decimal integer of text (0 when there is none), limited to the int range.
    static int ToInt(const char* text);
    // The leading decimal number of text (0 when there is none), read in the "C" locale.
    static double ToDouble(const char* text);
    // ToDouble narrowed to float, limited to the float range.
    static float ToFloat(const char* text);
};
