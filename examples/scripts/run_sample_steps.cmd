@echo off
rem The sample application's steps (sample_steps.vbs) on a fresh copy of the
rem sample in %TEMP%\Veltrano-sample, so that the sample itself stays as it is
rem and every run gives the same answers. Veltrano.dll must be registered
rem (the installer does it, or regsvr32). Run it from any folder:
rem
rem   scripts\run_sample_steps.cmd
rem
rem The copy is left for a look: the forms, the translated alarm list and the
rem pictures in the languages the steps left them.
setlocal
for %%I in ("%~dp0..") do set "sample=%%~fI"
set "work=%TEMP%\Veltrano-sample"
if exist "%work%" rmdir /s /q "%work%"
mkdir "%work%"
if errorlevel 1 goto failed
xcopy "%sample%\pictures" "%work%\pictures\" /e /i /q /y > nul
if errorlevel 1 goto failed
xcopy "%sample%\forms" "%work%\forms\" /e /i /q /y > nul
if errorlevel 1 goto failed
"%sample%\FIX.exe" --batch --select * --lang-number 3 --answers ok,ok,ok,ok,ok,ok,yes,yes,ok,ok,ok,ok --pictures "%work%\pictures" run "%~dp0sample_steps.vbs" "%work%\forms\frmSettings.frm.json" "%work%\forms\frmLogin.frm.json" "%sample%\alarms.csv" "%work%\alarms.csv"
exit /b %errorlevel%
:failed
echo The sample could not be copied to %work%. 1>&2
exit /b 1
