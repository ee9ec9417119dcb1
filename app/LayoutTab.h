// The "Mise en page" tab: the layout options of the produced pages (and,
// later, the preview of the produced pages).
#pragma once

#include <QWidget>

class QCheckBox;

namespace tavimor {

class TLayoutTab : public QWidget {
    Q_OBJECT

public:
    explicit TLayoutTab(QWidget* parent = nullptr);

    QCheckBox* PosMenCheck = nullptr; // "Menu à gauche"
    QCheckBox* BorderCheck = nullptr; // "Pas de bordure"
    QCheckBox* DistFileCheck = nullptr; // "pages distinctes", hidden

signals:
    // The author ticked or unticked one of the layout boxes.
    void edited();
};

} // namespace tavimor
