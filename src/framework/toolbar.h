// QvToolbar: the adjustable toolbar with 32x32 icons. It keeps the table of
// available buttons (the ones the customise dialog offers), applies a layout
// (one byte per position: an index into that table, or a separator for any
// value beyond it, written back as 255) and reads the layout back. The
// owner answers the customise dialog's notifications from AvailableButton.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "framework/app.h"
#include "framework/window.h"

namespace QvLibrary {

class QvToolbar : public QvWindow {
public:
    static constexpr std::uint8_t kSeparator = 255;

    explicit QvToolbar(const QvApp& app);
    ~QvToolbar() override;
    bool Create(HWND parent, int id) override;
    bool Create(HWND parent, int id, int x, int y, int width, int height) override;
    // 0 while the toolbar has no buttons.
    int GetHeight() const override;
    int GetWidth() const override;
    // These ignore the coordinates: without buttons the toolbar is hidden,
    // otherwise it is shown and sizes itself to its parent.
    void Refresh() override;
    void Move(int x, int y, int width, int height) override;
    void SetPosition(int x, int y, int width, int height, HWND insertAfter) override;

    // Icons 6300-6329 (normal) and 6400-6429 (disabled) of the application's
    // resource module; false when the toolbar has no window or the image
    // lists cannot be made.
    bool LoadImageLists();
    // Adds a button to the available table: image = index, enabled, plain.
    void AppendAvailableButton(int index, int commandId);
    int AvailableCount() const { return static_cast<int>(available_.size()); }
    // False beyond the table.
    bool AvailableButton(int index, TBBUTTON& button) const;
    int ButtonCount() const;

    void EnableButton(int commandId, bool enable);
    bool IsButtonEnabled(int commandId) const;
    void Customize();

    // Replaces every button by the layout's; an empty layout hides the toolbar.
    void ApplyLayout(const std::vector<std::uint8_t>& layout);
    // The buttons in order; one 255 stands for a run of separators between
    // buttons, and separators at the end are dropped.
    std::vector<std::uint8_t> ReadLayout() const;

private:
    void DestroyImageLists();

    const QvApp& app_;
    std::vector<TBBUTTON> available_;
    HIMAGELIST normal_ = nullptr;
    HIMAGELIST disabled_ = nullptr;
};

}  // namespace QvLibrary
