#pragma once
#include <string>

namespace plat {

// Button sets and icons, and the answers, with the Windows values that callers compare against.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum MessageBoxAnswer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows a modal box and returns the answer code.
    virtual int Show(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

// The installed service; with none installed a box is a fatal error, since
// nobody could answer it.
MessageBoxService& MessageBoxes();
void SetMessageBoxes(MessageBoxService* service);

inline int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxes().Show(text, caption, flags);
}

} // namespace plat
