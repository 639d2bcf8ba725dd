// The status file's JSON: written by the station, read back by "halvo-station --status".
#include "station/StationStatus.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

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
                out += static_cast<char>(std::stoi(m_text.substr(m_at + 1, 4), nullptr, 16));
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

}  // namespace

std::string CStationStatus::ToJson() const {
    std::string j = "{\n";
    const auto text = [&j](const char* key, const std::string& value) {
        j += FormatC("  \"%s\": ", key) + Quoted(value) + ",\n";
    };
    const auto whole = [&j](const char* key, int64_t value) {
        j += FormatC("  \"%s\": %lld,\n", key, static_cast<long long>(value));
    };
    const auto time = [&](const char* key, int64_t value) {
        whole(key, value);
        text((std::string(key) + "_text").c_str(), LocalText(value));
    };
    const auto number = [&j](const char* key, double value) {
        j += FormatC("  \"%s\": %.6g,\n", key, value);
    };
    text("state", state);
    whole("pid", pid);
    time("updated", updated);
    whole("period", period);
    whole("port", port);
    text("device", device);
    text("instrument", instrument);
    time("last_slot", lastSlot);
    text("last_result", lastResult);
    number("par", par);
    number("photon", photon);
    number("lum", lum);
    number("uva", uva);
    number("temperature", temperature);
    time("next_slot", nextSlot);
    whole("due", due);
    whole("measured", measured);
    whole("failed_positions", failedPositions);
    whole("missed", missed);
    time("last_missed", lastMissed);
    text("last_error", lastError);
    time("last_error_time", lastErrorTime);
    j.resize(j.size() - 2);  // the last member's comma
    return j + "\n}\n";
}

bool CStationStatus::FromJson(const std::string& json) {
    using Text = std::string CStationStatus::*;
    using Whole = int64_t CStationStatus::*;
    using Number = double CStationStatus::*;
    static const std::pair<const char*, Text> kTexts[] = {
        {"state", &CStationStatus::state},
        {"device", &CStationStatus::device},
        {"instrument", &CStationStatus::instrument},
        {"last_result", &CStationStatus::lastResult},
        {"last_error", &CStationStatus::lastError}};
    static const std::pair<const char*, Whole> kWholes[] = {
        {"pid", &CStationStatus::pid},
        {"updated", &CStationStatus::updated},
        {"period", &CStationStatus::period},
        {"port", &CStationStatus::port},
        {"last_slot", &CStationStatus::lastSlot},
        {"next_slot", &CStationStatus::nextSlot},
        {"due", &CStationStatus::due},
        {"measured", &CStationStatus::measured},
        {"failed_positions", &CStationStatus::failedPositions},
        {"missed", &CStationStatus::missed},
        {"last_missed", &CStationStatus::lastMissed},
        {"last_error_time", &CStationStatus::lastErrorTime}};
    static const std::pair<const char*, Number> kNumbers[] = {
        {"par", &CStationStatus::par},
        {"photon", &CStationStatus::photon},
        {"lum", &CStationStatus::lum},
        {"uva", &CStationStatus::uva},
        {"temperature", &CStationStatus::temperature}};

    CFlatJsonReader reader(json);
    std::string key;
    std::string value;
    int members = 0;
    while (reader.Next(key, value)) {
        ++members;
        for (const auto& [name, member] : kTexts) {
            if (key == name) {
                this->*member = value;
            }
        }
        for (const auto& [name, member] : kWholes) {
            if (key == name) {
                this->*member = std::strtoll(value.c_str(), nullptr, 10);
            }
        }
        for (const auto& [name, member] : kNumbers) {
            if (key == name) {
                this->*member = ParseDoubleC(value.c_str());
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
