// The program update's registry values held in a map, for tests.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "update/program_update.h"

namespace kodrin::test {

class MapStore : public update::ValueStore {
public:
    std::optional<std::u16string> Read(std::u16string_view name) override {
        const auto found = values.find(std::u16string(name));
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    void Write(std::u16string_view name, std::u16string_view value) override {
        values[std::u16string(name)] = std::u16string(value);
    }
    std::map<std::u16string, std::u16string> values;
};

}  // namespace kodrin::test
