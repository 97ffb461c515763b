#include "platform/shared_icons.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QProxyStyle>
#include <utility>

namespace veltrix {

namespace {

// Icons that depend on nothing but their kind and the layout direction.
bool Shareable(QStyle::StandardPixmap which) {
    switch (which) {
        case QStyle::SP_TitleBarMenuButton:
        case QStyle::SP_TitleBarMinButton:
        case QStyle::SP_TitleBarMaxButton:
        case QStyle::SP_TitleBarCloseButton:
        case QStyle::SP_TitleBarNormalButton:
        case QStyle::SP_TitleBarShadeButton:
        case QStyle::SP_TitleBarUnshadeButton:
        case QStyle::SP_TitleBarContextHelpButton:
        case QStyle::SP_ToolBarHorizontalExtensionButton:
        case QStyle::SP_ToolBarVerticalExtensionButton:
            return true;
        default:
            return false;
    }
}

class SharedIconStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (option != nullptr || !Shareable(which)) return QProxyStyle::standardIcon(which, option, widget);
        const std::pair<int, int> key(which, QGuiApplication::layoutDirection());
        auto found = icons_.constFind(key);
        if (found == icons_.cend())
            found = icons_.insert(key, QProxyStyle::standardIcon(which, option, widget));
        return *found;
    }

  private:
    mutable QHash<std::pair<int, int>, QIcon> icons_;
};

}  // namespace

void ShareStandardIcons() {
    if (dynamic_cast<SharedIconStyle*>(QApplication::style()) != nullptr) return;
    // The proxy takes the application's style as its base and owns it from then on.
    QApplication::setStyle(new SharedIconStyle(QApplication::style()));
}

}  // namespace veltrix
