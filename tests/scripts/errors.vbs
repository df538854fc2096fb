' The plugin's error texts reach a script: a host that starts the plugin passes its error
' object on (only when the plugin announces one), and the script reads number, source and text.
Option Explicit
Dim h
Set h = CreateObject("TintmarkTest.Host")
WScript.Echo "started " & h.StartPlugin(True, 0)
Report "no events", False, 0
Report "advise limit", True, &H80040201
Report "access denied", True, &H80070005
WScript.Echo "done"

Sub Report(what, offerEvents, adviseResult)
    On Error Resume Next
    h.StartPlugin offerEvents, adviseResult
    WScript.Echo what & ": " & Hex(Err.Number) & " [" & Err.Source & "] " & Described(Err.Description)
    Err.Clear
End Sub

' The text's two halves; a system message (in the system's language) shows as <system text>.
Function Described(text)
    Dim parts
    parts = Split(text, vbCr)
    If UBound(parts) < 1 Then
        Described = text
    ElseIf Left(parts(1), 8) = "Error 0x" Or Len(parts(1)) = 0 Then
        Described = parts(0) & " | " & parts(1)
    Else
        Described = parts(0) & " | <system text>"
    End If
End Function
