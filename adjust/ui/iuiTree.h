#pragma once
#include "ui/iuiTree.h"

namespace adj {

// The adjustment program's tree: a bank's new caption goes to every node of
// the bank, and captions are never taken from the image on request.
class iuiTree : public ::iuiTree {
public:
    using ::iuiTree::iuiTree;

protected:
    bool RenamesEveryBankNode() const override { return true; }
    bool TakesBankCaptionFromImage() const override { return false; }
};

} // namespace adj
