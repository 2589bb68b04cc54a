#pragma once
#include "image/BankSite.h"
#include "image/ImagePacking.h"
#include "image/RecordLayout.h"
#include "image/RepeaterBlock.h"
#include "image/datCh.h"
#include "tests/ui/AppFixture.h"

#include <string>

namespace uitest {

// The cloning program's window over the LTR model's data with three
// repeater entries in site 1 and two in site 2 (pool rows 0 to 4), and
// repeater files written and read by hand.
class RepeaterFixture : public AppFixture {
protected:
    static constexpr int32_t kLtrModel = 1;

    // The window, with the LTR model to load.
    indMain& StartLtr() {
        indMain& app = Start();
        gEnviron->ModelType = kLtrModel;
        return app;
    }
    // The entries in sites 1 and 2, packed and saved.
    void FillSites() {
        cmcEeprom& image = Doc().WorkingImage();
        for (int32_t site = 0; site < layout::kSites; ++site)
            SetSiteChannelCount(image, site, 0);
        SetSiteChannelCount(image, 1, 3);
        SetSiteChannelCount(image, 2, 2);
        datCh entry(&image);
        for (int32_t row = 0; row < 5; ++row) {
            entry.Load(kindRepeaterPool, row);
            entry.siteMark = entry.siteMarkClear = false;
            entry.poolRxFreq = 450000000 + 12500 * row;
            entry.poolTxFreq = 455000000 + 12500 * row;
            entry.poolRfPo = static_cast<uint8_t>(1 + row % 3);
            entry.poolNar = row % 2;
            entry.poolPhone = row % 3 == 0;
            entry.poolRxDat = row == 1;
            entry.Store(kindRepeaterPool, row);
        }
        image.SetByte(Group(1, 7), 2);
        EXPECT_EQ(Doc().Static2Dynamic(image, kPackPlain), 0);
        Doc().ClearModified();
    }

    static int32_t Group(int32_t site, int32_t i) {
        return layout::kGroupRecords + layout::kGroupRecordSize * site + i;
    }

    // A repeater file written by hand: the block at address 0 over 0..last.
    static void WriteBlock(const std::string& path, const RepeaterBlock& block, int32_t format = 3,
                           int32_t code1 = 0x4410, int32_t code2 = 0, int32_t last = 214) {
        cmcEeprom image;
        image.SetSize(layout::kImageSize);
        image.Write(0, block.data(), rptblock::kSize);
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetCode1(code1);
        file.SetCode2(code2);
        file.SetMapRev(format);
        ASSERT_EQ(file.Save(path, RangeList{{0, last}, kRangeListEnd}), cmcIcfFile::kOk);
    }
    // The block a repeater file holds.
    static RepeaterBlock ReadBlock(const std::string& path) {
        cmcEeprom image;
        image.SetSize(layout::kImageSize);
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetCode1(0x4410);
        file.SetOnMapRev([](int32_t rev) { return rev == 3; });
        EXPECT_EQ(file.Load(path), cmcIcfFile::kOk);
        RepeaterBlock block{};
        image.Read(0, block.data(), rptblock::kSize);
        return block;
    }
};

} // namespace uitest
