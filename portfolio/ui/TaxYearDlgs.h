// The two small tax-year choosers: the capital gains summary's (413) and the dividend report's (692),
// each a year field with up and down arrows and a line naming the tax year.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace qv {

class CYearStepper;

// A year typed or stepped between bounds, with a text naming it beside; OK checks the range.
class CTaxYearChooser : public QDialog {
    Q_OBJECT
public:
    int year() const { return year_; }
    void accept() override;

protected:
    CTaxYearChooser(int year, int low, int high, int editId, int spinId, int staticId, QWidget* parent);
    virtual QString YearText(int year) const = 0;
    // Call once the derived object is made.
    void Show(int year);
    QLineEdit* edit_;
    QLabel* text_;
    CYearStepper* stepper_;

private:
    void Step(int by);
    int year_;
    int low_;
    int high_;
};

// "Select tax year": 1990 to the tax year today falls in (at most 2027).
class CSelectTaxYear : public CTaxYearChooser {
    Q_OBJECT
public:
    explicit CSelectTaxYear(int year, QWidget* parent = nullptr);
    static int LastYear();

protected:
    QString YearText(int year) const override;
};

// "Select the tax for dividend display": 1990 to 2027.
class CDividendTaxYear : public CTaxYearChooser {
    Q_OBJECT
public:
    explicit CDividendTaxYear(int year, QWidget* parent = nullptr);

protected:
    QString YearText(int year) const override;
};

} // namespace qv
