#pragma once
// 设置: the hosts and the board's pace of korvel.ini, edited in a dialog,
// the fields a seller changes under 常用 and the rest under 高级, each with
// its explanation, and the way to the notice channels. Each value is judged
// by the reader the programs use; values it would ignore are refused, every
// one named at once, instead of being saved. Saving changes only the edited
// values of the file (comments and unknown keys stay), replaces the file
// atomically and applies the values to the next check.
#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"

class QLabel;
class QLineEdit;
class QTabWidget;

namespace app {

class SettingsDialog final : public QDialog {
  public:
    // `in_use` is the file read now (empty: none); `target` the one written.
    SettingsDialog(std::filesystem::path in_use, std::filesystem::path target,
                   QWidget* parent = nullptr);

    // Validates and writes; false (with the reasons shown) when nothing was
    // written.
    bool save();

    // Runs after a successful save; by default apply_settings().
    std::function<void()> on_saved = apply_settings;

  private:
    void build();
    QWidget* build_common_tab();
    QWidget* build_advanced_tab();
    QWidget* field_row(std::size_t field);
    std::vector<std::string> typed_values() const;
    void refuse(const QString& reason);
    void mark(std::size_t field, bool bad);

    std::filesystem::path in_use_;
    std::filesystem::path target_;
    std::vector<std::string> initial_;
    std::vector<QLineEdit*> edits_;
    QTabWidget* tabs_ = nullptr;
    QLabel* reason_ = nullptr;
};

// Opens the dialog for the settings file in use, window-modal over `parent`,
// without waiting for it to close.
void open_settings_dialog(QWidget* parent);

}  // namespace app
