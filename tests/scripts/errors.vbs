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
    WScript.Echo what & ": " & Hex(Err.Number) & " [" & Err.Source & "] " & Replace(Err.Description, vbCr, " | ")
    Err.Clear
End Sub
