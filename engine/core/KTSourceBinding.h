#pragma once

#include <memory>
#include <string>
#include <utility>

#include "engine/core/KTNotificationCenter.h"

namespace kt {

// Follows the notifications of a data source its owner uses but does not own: binding again replaces the
// registration and the binding's end drops it. The registration is kept under the binding's own address, so
// it is let go even after the source has gone; one left behind would name a freed address, pile up with each
// rebinding, and call the owner for whatever source is made at that address next.
template <class Source>
class KTSourceBinding {
public:
    KTSourceBinding() = default;
    KTSourceBinding(const KTSourceBinding&) = delete;
    KTSourceBinding& operator=(const KTSourceBinding&) = delete;
    ~KTSourceBinding() { KTNotificationCenter::shared().removeObserver(this); }

    // Calls back for the source's notifications of that name (empty: any); no source only unbinds.
    void bind(const std::shared_ptr<Source>& source, std::string name, KTNotificationCenter::Callback callback) {
        KTNotificationCenter& center = KTNotificationCenter::shared();
        center.removeObserver(this);
        source_ = source;
        if (source) center.addObserver(this, std::move(name), source.get(), std::move(callback));
    }

    std::shared_ptr<Source> source() const { return source_.lock(); }

private:
    std::weak_ptr<Source> source_;
};

}  // namespace kt
