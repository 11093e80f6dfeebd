// Reading of the "KEY=value" items of a channel line: each item is tested for the keys in
// table order, anywhere inside the item, and the first key found takes the rest after it.
#pragma once

#include <span>
#include <string>
#include <string_view>

template <typename Object> struct KeyHandler {
    std::string_view key;
    void (*apply)(Object& object, std::string_view value);
};

template <typename Object>
bool ApplyFirstKey(Object& object, std::string_view piece,
                   std::span<const KeyHandler<Object>> handlers) {
    for (const KeyHandler<Object>& handler : handlers) {
        const std::size_t at = piece.find(handler.key);
        if (at != std::string_view::npos) {
            handler.apply(object, piece.substr(at + handler.key.size()));
            return true;
        }
    }
    return false;
}

// The "|"-separated part i of a value, and whether it is there at all.
inline bool GetPart(std::string_view value, std::size_t index, std::string_view& part) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t bar = value.find('|', start);
        if (bar == std::string_view::npos)
            return false;
        start = bar + 1;
    }
    const std::size_t end = value.find('|', start);
    part =
        value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    return true;
}
