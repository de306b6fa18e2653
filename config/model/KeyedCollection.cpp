// The keyed collection's own failures and its key comparison.
#include "ledgerline/config/model/KeyedCollection.h"

#include "ledgerline/platform/AsciiText.h"

namespace model {

// The runtime's number for a key that a collection already holds.
constexpr std::int32_t kDuplicateKey = 457;

ldgr::Error DuplicateKey(const std::string& sKey) {
    return ldgr::Error(kDuplicateKey, {},
                       "The key \"" + sKey + "\" is already associated with an item");
}

ldgr::Error NoSuchKey(const std::string& sKey) {
    return ldgr::Error(ldgr::kInvalidProcedureCall, {}, "No item has the key \"" + sKey + "\"");
}

ldgr::Error NoSuchPosition(std::int32_t lPosition, std::size_t count) {
    return ldgr::Error(ldgr::kSubscriptOutOfRange, {},
                       "Position " + std::to_string(lPosition) +
                           " does not exist (the collection holds " + std::to_string(count) +
                           (count == 1 ? " item)" : " items)"));
}

ldgr::Error BothNeighbours() {
    return ldgr::Error(ldgr::kInvalidProcedureCall, {},
                       "An item can be added before or after another, not both");
}

ldgr::Error NoItem() {
    return ldgr::Error(ldgr::kObjectNotSet);
}

bool SameKey(const std::string& a, const std::string& b) {
    return ldgr::ascii::EqualsIgnoreCase(a, b);
}

} // namespace model
