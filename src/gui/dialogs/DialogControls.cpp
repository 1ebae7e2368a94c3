#include "gui/dialogs/DialogControls.h"

#include <QPushButton>

namespace xemap {

QPushButton* addButton(QWidget* parent, const QString& name, const QString& text, QRect place)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

}  // namespace xemap
