// QvLabel: a push button (by default) or a static text showing the stored text.
#pragma once

#include "framework/window.h"

namespace QvLibrary {

class QvLabel : public QvWindow {
public:
    explicit QvLabel(const std::u16string& text = {}, bool isButton = true, bool pushLike = false,
                     bool ownerDraw = false, bool rightAligned = false);
    ~QvLabel() override;
    bool Create(HWND parent, int id) override;
    bool Create(HWND parent, int id, int x, int y, int width, int height) override;

private:
    bool isButton_;
    bool pushLike_;
    bool ownerDraw_;
    bool rightAligned_;
};

}  // namespace QvLibrary
