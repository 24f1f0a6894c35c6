#pragma once

#include <string>
#include <vector>

#include "engine/core/KTObject.h"

namespace kt {

// What a value provider holds, for bound nodes that treat numbers, texts and lists differently.
enum class KTDataKind { number, string, list };

// A value that nodes can show or edit: every change is announced with the notification "changed" sent by
// the provider. List-like providers answer the enumeration and selection operations meaningfully.
class KTDataSource : public KTObject {
public:
    KT_CLASS(KTDataSource)

    static constexpr const char* kChangedNotification = "changed";

    virtual KTDataKind dataKind() const = 0;
    virtual double numberValue() const = 0;
    virtual std::string stringValue() const = 0;
    virtual bool boolValue() const { return numberValue() != 0; }
    virtual int selectionIdx() const { return -1; }
    virtual void setSelectionIdx(int) {}
    // The text of every entry of a list-like provider, in order.
    virtual std::vector<std::string> itemTexts() const { return {}; }
    // Announces the current value; a provider that keeps its value in a file saves it first.
    virtual void commit();
};

class KTNumberDataSource : public KTDataSource {
public:
    KT_CLASS(KTNumberDataSource)

    KTNumberDataSource() = default;
    explicit KTNumberDataSource(double number) : data_(number) {}

    KTDataKind dataKind() const override { return KTDataKind::number; }
    double numberValue() const override { return data_; }
    // The number's usual decimal text: 0.5 for a half, 3 for three.
    std::string stringValue() const override;

    void setData(double number);
    void setNumber(double number) { setData(number); }
    // Announce only a real change of the integer or truth value.
    void setInt(int value);
    void setBool(bool value);
    // Always announces, also when the value is unchanged.
    void setFloat(float value);

private:
    double data_ = 0;
};

class KTStringDataSource : public KTDataSource {
public:
    KT_CLASS(KTStringDataSource)

    KTStringDataSource() = default;
    explicit KTStringDataSource(std::string text) : data_(std::move(text)) {}

    KTDataKind dataKind() const override { return KTDataKind::string; }
    // The leading number of the text, 0 when there is none.
    double numberValue() const override;
    std::string stringValue() const override { return data_; }
    // True for a text starting with Y, y, T, t or a non-zero digit, after blanks and an optional sign.
    bool boolValue() const override;
    void setString(const std::string& text);
    // Takes the text without announcing it.
    void setStringQuietly(std::string text) { data_ = std::move(text); }

private:
    std::string data_;
};

}  // namespace kt
