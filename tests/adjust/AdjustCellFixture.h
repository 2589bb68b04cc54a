#pragma once
// The adjustment program's cells run as the program runs them: its cell
// engine installed, its shipped overlay as the text table, and a recording
// double for the adjustment side of the application manager.
#include "adjust/AdjustManager.h"
#include "adjust/AdjustVocabulary.h"
#include "cells/CellEngine.h"
#include "tests/cells/CellHarness.h"
#include "tests/support/RecordingAdjustManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace adjtest {

class AdjustCellFixture : public ::testing::Test {
protected:
    AdjustCellFixture() { man.workingImage = &h.Image(); }

    static int32_t Id(const std::string& name) { return adj::AdjustCellVocabulary().CellIndex(name); }
    static int32_t Category(const std::string& name) {
        return adj::AdjustCellVocabulary().CategoryIndex(name);
    }
    // A cell of the adjustment sheet.
    static CellAddress Adj(const std::string& name) { return {Category("CT_ADJ"), Id(name), 0}; }

    // The calls of the double of one name, as (value, value2).
    std::vector<adj::RecordingAdjustManager::Call> CallsOf(const std::string& name) const {
        std::vector<adj::RecordingAdjustManager::Call> out;
        for (const auto& c : man.calls)
            if (c.name == name) out.push_back(c);
        return out;
    }

    uint8_t& Byte(int32_t address) { return h.Image().Data()[address]; }

    ScopedCellEngine engine{adj::AdjustCellEngine()};
    celltest::CellHarness h{0, TOLVANE_BIN_DIR "/QT4411R.OVL"};
    adj::RecordingAdjustManager man;
    adj::ScopedAdjustManager useMan{&man};
};

} // namespace adjtest
