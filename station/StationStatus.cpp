// The status file's JSON: written by the station, read back by "halvo-station --status".
#include "station/StationStatus.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>
#include <variant>

#include "data/AtomicFile.h"
#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += FormatC("\\u%04x", byte);
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string LocalText(int64_t t) {
    struct tm local {};
    return t > 0 && ToLocalTime(t, local) ? FormatTime("%Y-%m-%d %H:%M:%S", local) : "";
}

// A flat JSON object's members in order: key and raw value (strings unescaped).
class CFlatJsonReader {
public:
    explicit CFlatJsonReader(const std::string& text) : m_text(text) {}

    bool Next(std::string& key, std::string& value) {
        Skip();
        if (m_at < m_text.size() && (m_text[m_at] == ',' || m_text[m_at] == '{')) {
            ++m_at;
            Skip();
        }
        if (m_at >= m_text.size() || m_text[m_at] != '"' || !String(key)) {
            return false;
        }
        Skip();
        if (m_at >= m_text.size() || m_text[m_at++] != ':') {
            return false;
        }
        Skip();
        if (m_at < m_text.size() && m_text[m_at] == '"') {
            return String(value);
        }
        const size_t start = m_at;
        while (m_at < m_text.size() && std::strchr(",}\n \t\r", m_text[m_at]) == nullptr) {
            ++m_at;
        }
        value = m_text.substr(start, m_at - start);
        return !value.empty();
    }
    bool Ended() {
        Skip();
        return m_at < m_text.size() && m_text[m_at] == '}';
    }

private:
    void Skip() {
        while (m_at < m_text.size() && std::strchr(" \t\r\n", m_text[m_at]) != nullptr) {
            ++m_at;
        }
    }
    bool String(std::string& out) {
        out.clear();
        for (++m_at; m_at < m_text.size(); ++m_at) {
            const char c = m_text[m_at];
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++m_at >= m_text.size()) {
                return false;
            }
            if (m_text[m_at] == 'u' && m_at + 4 < m_text.size()) {
                // Four hex digits or the file is damaged (never an exception out of a read).
                unsigned code = 0;
                const char* digits = m_text.data() + m_at + 1;
                if (std::from_chars(digits, digits + 4, code, 16).ptr != digits + 4) {
                    return false;
                }
                out += static_cast<char>(code);
                m_at += 4;
            } else {
                out += m_text[m_at] == 'n' ? '\n' : m_text[m_at];
            }
        }
        return false;
    }

    const std::string& m_text;
    size_t m_at = 0;
};

// One member of the status file, in the file's order; a time is written a second time as local
// time text under KEY_text, for people reading the file.
struct StatusField {
    const char* key;
    std::variant<std::string CStationStatus::*, int64_t CStationStatus::*, double CStationStatus::*>
        member;
    bool withLocalText = false;
};

const StatusField kStatusFields[] = {
    {"state", &CStationStatus::state},
    {"pid", &CStationStatus::pid},
    {"updated", &CStationStatus::updated, true},
    {"period", &CStationStatus::period},
    {"port", &CStationStatus::port},
    {"device", &CStationStatus::device},
    {"instrument", &CStationStatus::instrument},
    {"last_slot", &CStationStatus::lastSlot, true},
    {"last_result", &CStationStatus::lastResult},
    {"par", &CStationStatus::par},
    {"photon", &CStationStatus::photon},
    {"lum", &CStationStatus::lum},
    {"uva", &CStationStatus::uva},
    {"temperature", &CStationStatus::temperature},
    {"next_slot", &CStationStatus::nextSlot, true},
    {"due", &CStationStatus::due},
    {"measured", &CStationStatus::measured},
    {"failed_positions", &CStationStatus::failedPositions},
    {"missed", &CStationStatus::missed},
    {"last_missed", &CStationStatus::lastMissed, true},
    {"last_error", &CStationStatus::lastError},
    {"last_error_time", &CStationStatus::lastErrorTime, true},
};

std::string JsonValue(const std::string& value) {
    return Quoted(value);
}
std::string JsonValue(int64_t value) {
    return FormatC("%lld", static_cast<long long>(value));
}
std::string JsonValue(double value) {
    return FormatC("%.6g", value);
}

void ParseJsonValue(const std::string& text, std::string& value) {
    value = text;
}
void ParseJsonValue(const std::string& text, int64_t& value) {
    value = std::strtoll(text.c_str(), nullptr, 10);
}
void ParseJsonValue(const std::string& text, double& value) {
    value = ParseDoubleC(text.c_str());
}

}  // namespace

std::string CStationStatus::ToJson() const {
    std::string j = "{\n";
    const auto member = [&j](const std::string& key, const std::string& value) {
        j += "  \"" + key + "\": " + value + ",\n";
    };
    for (const StatusField& field : kStatusFields) {
        std::visit([&](auto m) { member(field.key, JsonValue(this->*m)); }, field.member);
        if (field.withLocalText) {
            const int64_t t = this->*std::get<int64_t CStationStatus::*>(field.member);
            member(std::string(field.key) + "_text", Quoted(LocalText(t)));
        }
    }
    j.resize(j.size() - 2);  // the last member's comma
    return j + "\n}\n";
}

bool CStationStatus::FromJson(const std::string& json) {
    CFlatJsonReader reader(json);
    std::string key;
    std::string value;
    int members = 0;
    while (reader.Next(key, value)) {
        ++members;
        for (const StatusField& field : kStatusFields) {
            if (key == field.key) {
                std::visit([&](auto m) { ParseJsonValue(value, this->*m); }, field.member);
            }
        }
    }
    return members > 0 && reader.Ended();
}

bool CStationStatus::WriteFile(const std::string& path) const {
    return WriteFileAtomically(path, ToJson());
}

bool CStationStatus::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return FromJson(text.str());
}

bool CStationStatus::SameAs(const CStationStatus& other) const {
    CStationStatus a = *this;
    CStationStatus b = other;
    a.updated = b.updated = 0;
    return a.ToJson() == b.ToJson();
}
