#include "lifecycle.h"

#include "command_line.h"
#include "front_panel_restore.h"
#include "main_window.h"
#include "settings_store.h"
#include "twips.h"
#include "version.h"

namespace lorvane {
Lifecycle::Lifecycle(Platform& platform, MainWindow& window)
    : platform_(platform), window_(window) {}

Lifecycle::~Lifecycle() = default;

bool Lifecycle::load(const QString& commandLine) {
    const StartRequest request = AnalyzeCommandLine(commandLine);
    instanceName_ = request.instanceName;
    settingsKey_ = settingsKeyFor(instanceName_);
    switch (request.kind) {
        case StartKind::Usage:
            platform_.message(usageText());
            skipSave_ = true;
            return false;
        case StartKind::Clean:
            platform_.message(cleanText(instanceName_));
            RegDelete(settingsKey_);
            skipSave_ = true;
            return false;
        case StartKind::Normal:
            normalStart();
            return true;
    }
    return false;
}

void Lifecycle::normalStart() {
    window_.setWindowTitle(windowTitle(instanceName_, kVersionMajor, kVersionMinor, kVersionPatch));

    link_ = std::make_unique<ClsGPIB>(platform_);
    link_->Initialize(&window_, &window_.gpibComm());
    link_->setCrd(RegReadInt16(settingsKey_, QStringLiteral("Card"), 0));
    link_->setBrd(RegReadInt16(settingsKey_, QStringLiteral("Board"), 0));
    link_->setPad(RegReadInt16(settingsKey_, QStringLiteral("PAd"), 1));
    // A failure has shown its own message; the program runs on with the link closed.
    link_->DevOpen();

    window_.mergeOption = RegRead(settingsKey_, QStringLiteral("Merge"), 0) != 0;
    placeWindow();
    restoreFrontPanel(window_, settingsKey_);
}

void Lifecycle::placeWindow() {
    const QSize screen = platform_.screenSize();
    const int screenWidth = pixelsToTwips(screen.width());
    const int screenHeight = pixelsToTwips(screen.height());
    int x = RegRead(settingsKey_, QStringLiteral("X"), 100);
    int y = RegRead(settingsKey_, QStringLiteral("Y"), MainWindow::kDesignedTop);
    if (x > screenWidth - 100 || x < 0) x = 100;
    if (y < 0 || y > screenHeight - 100) y = MainWindow::kDesignedTop;
    window_.moveToTwips(x, y);
}

void Lifecycle::shutdown() {
    window_.StopRequest = true;
    platform_.processEvents();
    platform_.sleep(100);
    platform_.processEvents();
    if (link_) {
        link_->DevWrite(0, QStringLiteral("ABEX"));
        link_->DevClose();
    }
    if (skipSave_ || !link_) return;
    const QPoint position = window_.positionTwips();
    RegWrite(settingsKey_, QStringLiteral("Card"), link_->Crd());
    RegWrite(settingsKey_, QStringLiteral("Board"), link_->Brd());
    RegWrite(settingsKey_, QStringLiteral("PAd"), link_->pad());
    RegWrite(settingsKey_, QStringLiteral("X"), position.x());
    RegWrite(settingsKey_, QStringLiteral("Y"), position.y());
}

}  // namespace lorvane
