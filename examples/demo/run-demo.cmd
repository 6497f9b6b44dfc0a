@echo off
rem The demo on Windows, from the unpacked package: what a user does in the CAD editor with the
rem Velmarin plug-in loaded, run by the emulator against the client test double, then the
rem inspector's check of the demo's installation. Run it from an administrator's prompt: the
rem emulator writes the demo's registry value into HKEY_LOCAL_MACHINE. The value found there
rem before (a real VORD client's AppPath) is put back at the end.
rem
rem The demo's paths are on drive D:. When D: already is a copy of this folder (subst D: FOLDER),
rem the demo runs there. Otherwise this folder is copied to %TEMP%\velmarin-demo and the programs
rem map D: to the copy while they run. The files the demo leaves stay in that folder.
setlocal
for %%I in ("%~dp0..") do set "package=%%~fI"
set "double=%package%\client-test-double\VORDDll.dll"
set "key=HKLM\SOFTWARE\TORVEL\VORD"
set "saved=%TEMP%\velmarin-demo-registry.reg"

if exist D:\demo.txt if exist D:\VORD\client-double.ini goto on_drive_d
set "work=%TEMP%\velmarin-demo"
set drive=--drive "D=%work%"
if exist "%work%" rmdir /s /q "%work%"
xcopy "%~dp0." "%work%\" /e /i /q >nul
if not exist "%work%\demo.txt" goto copy_failed
echo === What the user sees (drive D: is %work%)
goto run
:on_drive_d
set "work=D:"
set drive=
echo === What the user sees (drive D: is this demo folder)

:run
if exist "%work%\VORD\VORDDll.dll" del "%work%\VORD\VORDDll.dll"
copy "%double%" "%work%\VORD\VORDDll.dll" >nul
if not exist "%work%\VORD\VORDDll.dll" goto copy_failed
if exist "%saved%" del "%saved%"
reg export "%key%" "%saved%" /y /reg:32 >nul 2>&1
"%package%\velmarin-host.exe" %drive% --registry "%work%\registry.ini" --script "%work%\demo.txt"
set "status=%errorlevel%"
echo.
echo === What the VORD client was asked (%work%\VORD\client-calls.log, GBK)
type "%work%\VORD\client-calls.log"
echo.
echo === The demo's installation as the plug-in finds it (velmarin-inspect --check)
"%package%\velmarin-inspect.exe" --check %drive% --registry "%work%\registry.ini"
if errorlevel 1 set "status=1"
if exist "%saved%" (
    reg import "%saved%" /reg:32 >nul 2>&1
    del "%saved%"
) else (
    reg delete "%key%" /f /reg:32 >nul 2>&1
)
exit /b %status%

:copy_failed
echo run-demo.cmd: cannot copy the demo or the client test double into %work%
exit /b 2
