// A window holding one typed grid with its editors and header picture, shown offscreen.
#pragma once

#include "grid/clsFLX.h"
#include "grid/GridControl.h"
#include "common/TestSupport.h"
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <memory>

namespace vnt::test {

struct GridWindow {
    // A box no test expects fails the test rather than waiting for a click.
    std::unique_ptr<Boxes> noBoxes =
        dynamic_cast<ui::ScriptedBoxes *>(&ui::sink()) ? nullptr : std::make_unique<Boxes>();
    QWidget window;
    GridControl *grid = nullptr;
    QLineEdit *txt = nullptr;
    QComboBox *cbo = nullptr;
    QWidget *pic = nullptr;
    std::shared_ptr<clsFLX> flx = std::make_shared<clsFLX>();

    explicit GridWindow(int cols = 5, QSize size = QSize(700, 300))
    {
        window.resize(size.width() + 40, size.height() + 40);
        grid = new GridControl(&window);
        grid->setGeometry(QRect(QPoint(10, 10), size));
        grid->setCols(cols);
        grid->setRows(3);
        txt = new QLineEdit(&window);
        cbo = new QComboBox(&window);
        pic = new QWidget(&window);
        window.show();
        flx->setEFLX(grid);
        flx->setETXT(txt);
        flx->setECBO(cbo);
        flx->setEPIC(pic);
        flx->setELSB(FlexValue::list(QList<FlexValue>(cols, FlexValue(20))));
    }

    // The current cell, as a click on it leaves it.
    void select(int row, int col)
    {
        grid->setRow(row);
        grid->setCol(col);
    }
    QString cell(int row, int col) const { return grid->TextMatrix(row, col); }
};

// Numbers in a list of 16-bit entries.
inline FlexValue ints(std::initializer_list<int> v)
{
    QList<FlexValue> l;
    for (int i : v)
        l << FlexValue(i);
    return FlexValue::list(l);
}

} // namespace vnt::test
