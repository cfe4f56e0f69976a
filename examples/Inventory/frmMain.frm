VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmMain 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Inventory"
   ClientHeight    =   3195
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   ScaleHeight     =   3195
   ScaleWidth      =   4680
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdTotals 
      Caption         =   "&Totals"
      Height          =   375
      Left            =   3360
      TabIndex        =   1
      Top             =   2640
      Width           =   1215
   End
   Begin VB.TextBox txtCode 
      BeginProperty Font 
         Name            =   "MS Sans Serif"
         Size            =   8.25
         Charset         =   0
         Weight          =   400
      EndProperty
      Height          =   285
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   2175
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private WithEvents mobjItem As clsItem
Attribute mobjItem.VB_VarHelpID = -1

Private Sub Form_Load()
    LoadItems
    gstrWarehouse = "Dock 3"
End Sub

Private Sub cmdTotals_Click()
    ShowTotals 0
End Sub

Private Sub mobjItem_QuantityChanged(ByVal lngOld As Long, ByVal lngNew As Long)
    If StateOf(lngNew) = ssLow Then
        MsgBox "Stock of " & mobjItem.Code & " is low.", vbExclamation, "Inventory"
    End If
End Sub
