#include "adapter_transport.h"
#include "card_transport.h"
#include "cls_gpib.h"

namespace lorvane {

std::unique_ptr<Transport> makeTransport(int16_t crd, ClsGPIB& link) {
    if (crd == 0) return std::make_unique<CardTransport>(link.platform());
    return std::make_unique<AdapterTransport>(link.platform(), link.serialPort(), link.portPath());
}

}  // namespace lorvane
