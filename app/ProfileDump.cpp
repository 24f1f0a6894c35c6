#include "app/ProfileDump.h"

namespace moonbrook {

using kt::KTPlist;

nlohmann::json plistToJson(const KTPlist& value) {
    switch (value.type()) {
        case KTPlist::Type::none:
            return nullptr;
        case KTPlist::Type::string:
            return value.stringValue();
        case KTPlist::Type::integer:
            return value.intValue();
        case KTPlist::Type::real:
            return value.realValue();
        case KTPlist::Type::boolean:
            return value.boolValue();
        case KTPlist::Type::date:
            return value.dateValue()->time_since_epoch().count();
        case KTPlist::Type::data:
            return value.dataValue();
        case KTPlist::Type::array: {
            nlohmann::json items = nlohmann::json::array();
            for (const KTPlist& item : value.arrayValue())
                items.push_back(plistToJson(item));
            return items;
        }
        case KTPlist::Type::dictionary: {
            nlohmann::json entries = nlohmann::json::object();
            for (const auto& [key, entry] : value.dictionaryValue())
                entries[key] = plistToJson(entry);
            return entries;
        }
    }
    return nullptr;
}

nlohmann::json describeProfiles(const kt::KTUserManager& users) {
    nlohmann::json profiles = nlohmann::json::array();
    for (const auto& user : users.users())
        profiles.push_back(plistToJson(user->options()));
    const auto selected = users.selectedUser();
    return {{"selected", selected ? nlohmann::json(selected->name()) : nlohmann::json(nullptr)},
            {"users", std::move(profiles)}};
}

}  // namespace moonbrook
