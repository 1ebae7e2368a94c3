#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace xemap {

// A push button placed at a fixed spot of a dialog, named so that tests find it.
QPushButton* addButton(QWidget* parent, const QString& name, const QString& text, QRect place);

}  // namespace xemap
