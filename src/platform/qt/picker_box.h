#pragma once

#include <QComboBox>
#include <QFont>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/late_content.h"

namespace somnar {

// A picker: a combo box the user may also type into, which completes nothing while typing.
// Its list view is built when it is first needed; its typing field and entries come with
// its content (see LateContent).
class PickerBox final : public LateContentWidget<QComboBox> {
  public:
    // `font`: the picker's own; its typing field is laid out in it once.
    PickerBox(QWidget* parent, const std::optional<QFont>& font);

    // The entries, the one chosen (-1: none) and the text shown, without signals.
    void showChoice(const std::vector<std::string>& entries, int chosen, const QString& text);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void applyContent() override;
    void addField();

    QStringList entries_;
    bool entriesChanged_ = false;
    int chosen_ = -1;
    QString text_;
};

}  // namespace somnar
