// The convert button: the decimal field's whole text in, binary digits out.
#include "convert/DecimalToBinary.h"
#include "ui/NumveraDlg.h"

void CNumveraDlg::OnConvert()
{
    m_binaryEdit.SetWindowText(L"");
    const std::wstring decimalText = m_decimalEdit.GetWindowText();
    m_binaryEdit.SetWindowText(ConvertDecimalToBinary(decimalText).c_str());
}
