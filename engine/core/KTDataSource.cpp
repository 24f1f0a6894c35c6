#include "engine/core/KTDataSource.h"

#include <cstdlib>

#include "engine/core/KTFormat.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTTextValues.h"

namespace kt {

const KTClass& KTDataSource::staticClass() {
    static const KTClass& cls = KTClass::define<KTDataSource>("KTDataSource", KTObject::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTDataSource);

void KTDataSource::commit() {
    KTNotificationCenter::shared().post(kChangedNotification, this);
}

const KTClass& KTNumberDataSource::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTNumberDataSource>("KTNumberDataSource", KTDataSource::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTNumberDataSource);

std::string KTNumberDataSource::stringValue() const {
    return KTFormat("%@", data_);
}

void KTNumberDataSource::setData(double number) {
    data_ = number;
    commit();
}

void KTNumberDataSource::setInt(int value) {
    if (static_cast<int>(data_) != value) setData(value);
}

void KTNumberDataSource::setBool(bool value) {
    if ((data_ != 0) != value) setData(value ? 1 : 0);
}

void KTNumberDataSource::setFloat(float value) {
    setData(value);
}

const KTClass& KTStringDataSource::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTStringDataSource>("KTStringDataSource", KTDataSource::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTStringDataSource);

double KTStringDataSource::numberValue() const {
    return std::strtod(data_.c_str(), nullptr);
}

bool KTStringDataSource::boolValue() const {
    return KTBoolFromText(data_);
}

void KTStringDataSource::setString(const std::string& text) {
    data_ = text;
    commit();
}

}  // namespace kt
