#pragma once
#include "ui/cuiMain.h"

#include <string>
#include <vector>

// The cloning program's application manager: the model information of the
// radio series, the model change and the detection of a loaded image's model,
// the newer-data lockout, the normalisation, the clone areas, and maker mode.
class indMain : public cuiMain {
public:
    static constexpr char kProgramName[] = "QT4410R";
    static constexpr uint16_t kModelCode = 0x4410;
    static constexpr int32_t kMemoryEnd = 0xFF7F;

    explicit indMain(const std::string& programDirectory = plat::ProgramDirectory());
    ~indMain() override;

    void InitModelInfo() override;
    // The window, then the maker-mode switch of the command line.
    void CreateWindow(QMainWindow* form, const ImageList* treeImages,
                      const ImageList* toolBarImages) override;
    void BuildTree() override;
    bool IsLockedOutNewerData(const cmcEeprom& image) override;
    void AfterLoad(cmcEeprom& image) override;
    void NormalizeImage(cmcEeprom& image, int mode) override;
    void CheckWarnings(int* errors, int* warnings) override;
    bool CheckModel(int32_t code1, int32_t code2, int& result) override;
    RangeList CloneAreas(int32_t areaType) override;

    void ChangeModel(int32_t modelIndex, bool ask) override;
    void EnterMakerMode() override;
    int32_t GetCellHelpContext(const cmcCellCapsule& request) override;

    // The program's arguments, the program path first; "/vorplex" in any
    // letter case asks for maker mode when the window is built.
    void SetCommandLine(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    const std::string& MakerStatusText() const { return makerStatusText_; }

private:
    std::vector<std::string> arguments_;
    std::string makerStatusText_;
    QPointer<QLabel> makerPanel_;
};
