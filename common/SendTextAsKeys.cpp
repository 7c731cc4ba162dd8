#include "common/SendTextAsKeys.h"

#include "common/Guard.h"
#include "common/KeySender.h"
#include "common/Port.h"

namespace cq {

void SendTextAsKeys(const std::string& text) noexcept {
    if (text.empty()) return;
    guard([&] { Port<KeySender>::get().send(text, kKeyDeliveryTimeLimit); });
}

}  // namespace cq
