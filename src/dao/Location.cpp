#include "dao/Location.h"

#include "vbrt/Text.h"

namespace dao {
namespace {

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           vbrt::EqualsText(std::string(text.substr(0, prefix.size())), prefix);
}

// "password=secret" in the query part (up to the next '&').
void MaskParameter(std::string& uri) {
    for (std::size_t at = uri.find('?'); at != std::string::npos; at = uri.find('&', at + 1)) {
        static constexpr std::string_view kKey = "password=";
        const std::size_t value = at + 1;
        if (!StartsWithText(std::string_view(uri).substr(value), kKey)) continue;
        const std::size_t end = uri.find('&', value);
        const std::size_t from = value + kKey.size();
        uri.replace(from, (end == std::string::npos ? uri.size() : end) - from, "****");
    }
}

}  // namespace

bool IsServerLocation(std::string_view location) {
    return StartsWithText(location, "postgresql://") || StartsWithText(location, "postgres://");
}

std::string MaskedLocation(std::string_view location) {
    std::string uri(location);
    if (!IsServerLocation(uri)) return uri;
    // userinfo is what lies between "//" and the first '@' before the path.
    const std::size_t start = uri.find("//") + 2;
    const std::size_t pathAt = uri.find_first_of("/?", start);
    const std::size_t at = uri.rfind('@', pathAt == std::string::npos ? std::string::npos : pathAt);
    if (at != std::string::npos && at >= start) {
        const std::size_t colon = uri.find(':', start);
        if (colon != std::string::npos && colon < at) uri.replace(colon + 1, at - colon - 1, "****");
    }
    MaskParameter(uri);
    return uri;
}

}  // namespace dao
