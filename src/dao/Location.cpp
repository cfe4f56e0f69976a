#include "dao/Location.h"

#include <libpq-fe.h>

#include <cctype>
#include <memory>

#include "vbrt/Text.h"

namespace dao {
namespace {

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           vbrt::EqualsText(std::string(text.substr(0, prefix.size())), prefix);
}

struct OptionsFree {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};
using Options = std::unique_ptr<PQconninfoOption, OptionsFree>;

Options Parse(const std::string& uri) {
    char* error = nullptr;
    Options options(PQconninfoParse(uri.c_str(), &error));
    PQfreemem(error);  // it may quote parts of the URI, passwords included
    return options;
}

// The password libpq reads from the URI, "" when it carries none.
std::string PasswordIn(const PQconninfoOption* options) {
    for (const PQconninfoOption* option = options; option->keyword; ++option)
        if (std::string_view(option->keyword) == "password" && option->val) return option->val;
    return {};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// %XX decoded, as libpq decodes a parameter's name before it looks it up.
std::string Decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Every "name=value" of the query part whose decoded name is "password".
void MaskParameters(std::string& uri, std::size_t query) {
    for (std::size_t at = query; at != std::string::npos && at < uri.size(); at = uri.find('&', at + 1)) {
        const std::size_t name = at + 1;
        const std::size_t end = std::min(uri.find('&', name), uri.size());
        const std::size_t equals = uri.find('=', name);
        if (equals >= end || !vbrt::EqualsText(Decoded(uri.substr(name, equals - name)), "password"))
            continue;
        uri.replace(equals + 1, end - equals - 1, "****");
    }
}

// libpq takes the user part up to the first "@" before any "/"; everything from the
// first ":" up to the last "@" of that stretch is hidden, so a password holding
// an unescaped "@" is hidden whole.
void MaskUserInfo(std::string& uri, std::size_t start) {
    const std::size_t first = uri.find_first_of("@/", start);
    if (first == std::string::npos || uri[first] != '@') return;
    const std::size_t slash = uri.find('/', first);
    const std::size_t question = uri.find('?', first);
    const std::size_t at = uri.rfind('@', std::min(slash, question));
    const std::size_t colon = uri.find(':', start);
    if (colon < first) uri.replace(colon + 1, at - colon - 1, "****");
}

}  // namespace

std::string_view TrimmedLocation(std::string_view location) {
    const std::size_t first = location.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return location.substr(first, location.find_last_not_of(" \t") - first + 1);
}

bool IsServerLocation(std::string_view location) {
    const std::string_view uri = TrimmedLocation(location);
    return StartsWithText(uri, "postgresql://") || StartsWithText(uri, "postgres://");
}

std::string ServerUri(std::string_view location) {
    std::string uri(TrimmedLocation(location));
    const std::size_t scheme = uri.find("://");
    for (std::size_t i = 0; i < scheme && scheme != std::string::npos; ++i)
        uri[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(uri[i])));
    return uri;
}

bool ParsesAsUri(const std::string& uri) {
    return Parse(uri) != nullptr;
}

std::string MaskedLocation(std::string_view location) {
    if (!IsServerLocation(location)) return std::string(location);
    std::string uri(TrimmedLocation(location));
    const std::size_t start = uri.find("//") + 2;
    const std::string hidden = uri.substr(0, start) + "****";
    if (!ParsesAsUri(ServerUri(uri))) return hidden;
    MaskUserInfo(uri, start);
    const std::size_t query = uri.find('?', start);
    if (query != std::string::npos) MaskParameters(uri, query);
    // Whatever form carried it, the password libpq reads from what is shown must be the mask.
    const Options shown = Parse(ServerUri(uri));
    const std::string password = shown ? PasswordIn(shown.get()) : "?";
    return password.empty() || password == "****" ? uri : hidden;
}

}  // namespace dao
