#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Makes the kind of registry export a whole Windows 98 machine gives: tens of thousands of keys,
// most with a few values (class registrations, services, hardware, settings), long binary
// values wrapped over several lines, strings with escaped backslashes and quotes, a few
// Windows-1252 letters, every key with its own header, in tree order, as regedit writes them.
namespace corvane::bench {

class RegistryExport {
public:
    explicit RegistryExport(unsigned seed = 98) : m_random(seed) {}

    // Appends keys to text until it is about targetBytes long; returns the number of keys. The
    // keys are made a few of each kind in turn and written in tree order, as regedit writes an
    // export: every key followed by its subkeys, name by name.
    std::size_t appendTo(std::string& text, std::size_t targetBytes) {
        std::size_t keys = 0;
        std::string made;
        made.reserve(targetBytes > text.size() ? targetBytes - text.size() + 4096 : 4096);
        for (std::size_t i = 0; text.size() + made.size() < targetBytes; ++i) {
            switch (i % 8) {
                case 0:
                case 1:
                case 2:
                    keys += classRegistration(made, i);
                    break;
                case 3:
                    keys += hardwareKey(made, i);
                    break;
                case 4:
                    keys += settingsKey(made, i);
                    break;
                default:
                    keys += fileAssociation(made, i);
                    break;
            }
        }
        // Where each key's text begins (with the blank line before its header), sorted by path.
        std::vector<std::size_t> starts;
        for (std::size_t at = made.find("\r\n["); at != std::string::npos;
             at = made.find("\r\n[", at + 3))
            starts.push_back(at);
        starts.push_back(made.size());
        std::vector<std::size_t> order(starts.size() - 1);
        for (std::size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        const std::string_view all(made);
        auto pathOf = [&](std::size_t k) {
            const std::size_t begin = starts[k] + 3;
            return all.substr(begin, all.find(']', begin) - begin);
        };
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return treeOrder(pathOf(a), pathOf(b)); });
        text.reserve(text.size() + made.size());
        for (const std::size_t k : order)
            text.append(all.substr(starts[k], starts[k + 1] - starts[k]));
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
    // Whether path a comes before path b in a tree written depth first: name by name, letters
    // compared without regard to case.
    static bool treeOrder(std::string_view a, std::string_view b) {
        auto rank = [](char c) {
            // A key's subkeys come before its siblings whose names merely begin alike.
            if (c == '\\') return 0;
            return std::tolower(static_cast<unsigned char>(c)) + 1;
        };
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&](char x, char y) { return rank(x) < rank(y); });
    }

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
