#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace kt {

// Growable ordered list of shared object references, compared by identity.
template <typename T>
class KTArray {
public:
    using Ref = std::shared_ptr<T>;
    static constexpr std::size_t kNotFound = 0x7FFFFFFF;

    std::size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

    Ref objectAtIndex(std::size_t index) const { return index < items_.size() ? items_[index] : nullptr; }
    Ref firstObject() const { return items_.empty() ? nullptr : items_.front(); }
    Ref lastObject() const { return items_.empty() ? nullptr : items_.back(); }

    std::size_t indexOfObject(const T* object) const {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].get() == object) return i;
        }
        return kNotFound;
    }
    bool containsObject(const T* object) const { return indexOfObject(object) != kNotFound; }

    void addObject(Ref object) { items_.push_back(std::move(object)); }
    void insertObject(Ref object, std::size_t index) {
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(index, items_.size())),
                      std::move(object));
    }
    // Removes every occurrence and keeps the order of the rest.
    void removeObject(const T* object) {
        std::erase_if(items_, [object](const Ref& item) { return item.get() == object; });
    }
    void removeObjectAtIndex(std::size_t index) {
        if (index < items_.size()) items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void removeLastObject() {
        if (!items_.empty()) items_.pop_back();
    }
    void removeAllObjects() { items_.clear(); }
    void replaceObjectAtIndex(std::size_t index, Ref object) {
        if (index < items_.size() && items_[index] != object) items_[index] = std::move(object);
    }

    // Calls the function on each element in order.
    template <typename Function>
    void makeObjectsPerform(Function function) const {
        for (const Ref& item : items_)
            function(*item);
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Ref> items_;
};

}  // namespace kt
