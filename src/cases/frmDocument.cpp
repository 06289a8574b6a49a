#include "cases/frmDocument.h"

#include "platform/db/DataControl.h"

frmDocument::frmDocument(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDocument"));
    Data1 = new DataControl(this);
    Data2 = new DataControl(this);
    Data3 = new DataControl(this);
}

frmDocument::~frmDocument() = default;

void frmDocument::Command1_Click() {}
