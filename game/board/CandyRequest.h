#pragma once

#include <memory>

namespace kt {
class KTStringDataSource;
}

namespace moonbrook {

// One batch of a candy request: a character wants `count` more balls of one type. The count's text is a
// shared value that the character's bubble shows; the request rewrites it in place.
class CandyRequest {
public:
    // How long a counted ball's candy flies to the character before the shown number changes.
    static constexpr float kCountShowDelay = 1.75f;

    CandyRequest(char16_t type, int count);
    CandyRequest(const CandyRequest&) = delete;
    CandyRequest& operator=(const CandyRequest&) = delete;

    char16_t type() const { return type_; }
    int count() const { return count_; }
    const std::shared_ptr<kt::KTStringDataSource>& countString() const { return countString_; }

    // Counts one ball now; the shown number follows when the candy arrives. The pending change keeps the
    // text alive, so it is safe when the request or its character is gone by then.
    void decCount();

private:
    char16_t type_;
    int count_;
    std::shared_ptr<kt::KTStringDataSource> countString_;
};

}  // namespace moonbrook
