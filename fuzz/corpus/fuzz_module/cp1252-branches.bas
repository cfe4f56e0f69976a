Attribute VB_Name = "basCafé"
Option Compare Text
Private m_strNaïve As String
Public Const céLimit = 10

#If VBA7 Then
Public Sub Résumé(ByVal lngHandle As LongPtr)
    m_strNaïve = "€ ü"
End Sub
#Else
Public Sub Résumé(ByVal lngHandle As Long)
    m_strNaïve = "€ ü"
End Sub
#End If

' Grüße
Private Function Übersicht() As String
    Übersicht = "a" & _
        "b"
End Function