#pragma once
// The main window under test: shown offscreen at a known canvas size, messages and questions
// through a recording sink, no closing question.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include <QComboBox>
#include <QScrollBar>

#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/window/CanvasWidget.h"
#include "ui/window/MKPUnit1.h"

class TMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Guard = std::make_unique<TDialogsGuard>(Sink);
        Form = std::make_unique<TForm1>();
        Form->SetAskOnClose(false);
        Form->MKPSpace1().TraceEnabled = false;
        // The window as the compute command leaves it: results stay until the next computation
        // and an edit closes the result tabs (live results have tests of their own).
        Form->SetLiveResults(false);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        QApplication::processEvents();
    }
    void TearDown() override {
        Form.reset();
        Guard.reset();
    }

    TMKPSpace& Space() { return Form->MKPSpace1(); }
    // Material S235 and section IPE 300 (current).
    void AddSection() {
        TMaterial* m = Space().PridejMaterial("S235", 210000, 7850);
        Space().CurrentSection = Space().PridejProfil("IPE 300", m, 0.00538L, 0.0000836L, 0.000006038L);
        Space().CurrentMaterial = m;
    }
    QPoint Pixel(TReal x, TReal y) {
        const TPixel p = Space().ToScreen(x, y);
        return {p.X, p.Y};
    }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        Form->MKPSpace1MouseDown(button, button, mods, at.x(), at.y());
        Form->MKPSpace1MouseUp(button, mods, at.x(), at.y());
    }
    void Click(const char* tool) { Form->Tool(tool)->trigger(); }

    TRecordingDialogs Sink;
    std::unique_ptr<TDialogsGuard> Guard;
    std::unique_ptr<TForm1> Form;
};
