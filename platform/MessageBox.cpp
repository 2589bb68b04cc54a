#include "platform/MessageBox.h"

#include "platform/Fatal.h"

namespace plat {
namespace {

class NoMessageBoxes : public MessageBoxService {
public:
    int Show(const std::string& text, const std::string&, unsigned) override {
        Fatal("No message box service for: " + text);
    }
};

NoMessageBoxes gNone;
MessageBoxService* gService = &gNone;

} // namespace

MessageBoxService& MessageBoxes() {
    return *gService;
}
void SetMessageBoxes(MessageBoxService* service) {
    gService = service ? service : &gNone;
}

} // namespace plat
