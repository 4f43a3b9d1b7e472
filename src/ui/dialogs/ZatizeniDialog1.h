#pragma once
// The load dialog TForm5 "Zatížení": one concentrated force, moment or distributed load for the
// current member, or one force or moment for the current node; in a model with cases also the
// case the load goes into ("Zatěžovací stav:", hidden in a model without cases). Not modal;
// hidden, never destroyed, so its fields, type and input method stay as they were between uses.
// The reading of the fields and the model edit are in LoadInput.
#include <QDialog>
#include <QString>
#include <optional>

#include "ui/panel/LoadInput.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TMKPSpace;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    // tool is the main window's remembered tool, shared with the other small input dialogs: the
    // name of the button that opened the last of them ("sbAddLP" member load, "sbAddLU" nodal load).
    TForm5(TMKPSpace& space, QString& tool, QWidget* parent = nullptr);

    // Opens the dialog for the sender "sbAddLP" (member load) or "sbAddLU" (nodal load).
    void FormZatizeni(const QString& sender);
    // Opens the dialog filled with a load for the sender "sbEditLP" (member load) or "sbEditLU"
    // (nodal load); OK puts the entry into that same load. A self-weight load is not edited here
    // (a message says where it is set) and the dialog stays as it was; false then.
    bool UpravZatizeni(const QString& sender, const TLoadEdit& edit);
    // The load being edited; none while the dialog adds loads.
    const std::optional<TLoadEdit>& Edit() const { return mEdit; }
    TLoadTarget Target() const { return mTarget; }
    // The cases offered ("Zatěžovací stav:", shown only in a model with cases) refilled from the
    // model; the case of that name is chosen, or with an empty name the one chosen before stays.
    void RefreshCases(const std::string& chosen = {});
    // The fields and choices as they stand; SetFields puts them into the controls.
    TLoadFields Fields() const;
    void SetFields(const TLoadFields& fields);

public slots:
    void rgZatTypClick(int type);
    void SpeedButton2Click(); // OK
    void SpeedButton1Click(); // cancel

signals:
    // A load was added to the current member (member true) or the current node, or a load was
    // edited (its owner is then current).
    void LoadAdded(bool member);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void SetType(int type);
    void ShowFields();
    void ShowAndFocus();

    TMKPSpace& mSpace;
    QString& mTool;
    TLoadTarget mTarget = TLoadTarget::Member;
    std::optional<TLoadEdit> mEdit;
    QButtonGroup* mType = nullptr;
    QButtonGroup* mMethod = nullptr;
    QLineEdit* mValue = nullptr;
    QLineEdit* mEndValue = nullptr;
    QLineEdit* mAngle = nullptr;
    QLineEdit* mA = nullptr;
    QLineEdit* mB = nullptr;
    QLineEdit* mC = nullptr;
    QLabel* mEndValueLabel = nullptr;
    QLabel* mAngleLabel = nullptr;
    QLabel* mALabel = nullptr;
    QLabel* mBLabel = nullptr;
    QLabel* mCLabel = nullptr;
    QLabel* mUnits = nullptr; // the imperial units of the fields shown
    QLabel* mCaseLabel = nullptr;
    QComboBox* mCase = nullptr;
};
