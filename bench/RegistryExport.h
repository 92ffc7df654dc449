#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// Makes the kind of registry export a whole Windows 98 machine gives: tens of thousands of keys,
// most with a few values (class registrations, services, hardware, settings), long binary
// values wrapped over several lines, strings with escaped backslashes and quotes, a few
// Windows-1252 letters, every key with its own header, as regedit writes them.
namespace corvane::bench {

class RegistryExport {
public:
    explicit RegistryExport(unsigned seed = 98) : m_random(seed) {}

    // Appends keys to text until it is about targetBytes long; returns the number of keys.
    std::size_t appendTo(std::string& text, std::size_t targetBytes) {
        std::size_t keys = 0;
        for (std::size_t i = 0; text.size() < targetBytes; ++i) {
            switch (i % 8) {
                case 0:
                case 1:
                case 2:
                    keys += classRegistration(text, i);
                    break;
                case 3:
                    keys += hardwareKey(text, i);
                    break;
                case 4:
                    keys += settingsKey(text, i);
                    break;
                default:
                    keys += fileAssociation(text, i);
                    break;
            }
        }
        return keys;
    }

    // Grows a registry file (REGEDIT4) to about targetBytes; returns the keys it added.
    std::size_t grow(const std::string& path, std::size_t targetBytes) {
        std::string text;
        const std::size_t size = std::filesystem::file_size(path);
        const std::size_t keys = appendTo(text, targetBytes > size ? targetBytes - size : 0);
        std::ofstream(path, std::ios::binary | std::ios::app) << text;
        return keys;
    }

private:
    static void header(std::string& text, const std::string& path) {
        text += "\r\n[" + path + "]\r\n";
    }

    static std::string escaped(const std::string& s) {
        std::string out;
        for (const char c : s) {
            if (c == '\\' || c == '"') out += '\\';
            out += c;
        }
        return out;
    }

    std::string guid(std::size_t i) {
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "{%08zX-%04X-11CF-%04X-00AA00%06zX}",
                      i * 2654435761u % 0xFFFFFFFFu, static_cast<unsigned>(m_random() & 0xFFFF),
                      static_cast<unsigned>(m_random() & 0xFFFF), i);
        return buffer;
    }

    // hex data as regedit wraps it: lines under 80 columns, continued with a backslash.
    void hexValue(std::string& text, const std::string& name, std::size_t bytes) {
        std::string line = "\"" + name + "\"=hex:";
        for (std::size_t b = 0; b < bytes; ++b) {
            char digits[4];
            std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned>(m_random() & 0xFF));
            if (line.size() + 3 > 77) {
                text += line + "\\\r\n";
                line = "  ";
            }
            line += digits;
            if (b + 1 < bytes) line += ',';
        }
        text += line + "\r\n";
    }

    std::size_t classRegistration(std::string& text, std::size_t i) {
        const std::string clsid = "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\" + guid(i);
        header(text, clsid);
        text += "@=\"Component " + std::to_string(i) + " Class\"\r\n";
        header(text, clsid + "\\InprocServer32");
        text += "@=\"" + escaped("C:\\WINDOWS\\SYSTEM\\comp" + std::to_string(i) + ".dll") +
                "\"\r\n\"ThreadingModel\"=\"Apartment\"\r\n";
        return 2;
    }

    std::size_t hardwareKey(std::string& text, std::size_t i) {
        const std::string key =
            "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\"
            "Unknown\\" +
            std::to_string(1000 + i);
        header(text, key);
        text += "\"DriverDesc\"=\"Device " + std::to_string(i) + " (\\\"Plug and Play\\\")\"\r\n";
        char number[32];
        std::snprintf(number, sizeof number, "\"Flags\"=dword:%08x\r\n",
                      static_cast<unsigned>(m_random()));
        text += number;
        hexValue(text, "ResourceData", 64 + m_random() % 320);
        return 1;
    }

    std::size_t settingsKey(std::string& text, std::size_t i) {
        const std::string key =
            "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
            "RecentDocs\\Entry" +
            std::to_string(i);
        header(text, key);
        text += "\"MRUList\"=\"" +
                escaped("C:\\My Documents\\Caf\xE9 \"menu\" " + std::to_string(i) + ".doc") +
                "\"\r\n";
        hexValue(text, "Settings", 12);
        return 1;
    }

    std::size_t fileAssociation(std::string& text, std::size_t i) {
        const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Classes\\.x" + std::to_string(i);
        header(text, key);
        text += "@=\"xfile" + std::to_string(i) + "\"\r\n\"Content Type\"=\"application/x-" +
                std::to_string(i) + "\"\r\n";
        return 1;
    }

    std::mt19937 m_random;
};

}  // namespace corvane::bench
