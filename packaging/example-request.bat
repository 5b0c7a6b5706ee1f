@echo off
rem Hands the numbers 12 and 34 to Numvera.exe through its files and prints
rem its answer, 1100 and 100010. Change the two echo lines for other numbers.
rem Exit status: 0 answered, 1 refused (Numvera.exe's own status, 11 to 21,
rem which says why, is shown), 3 Numvera.exe did not end by itself (ended
rem from outside, or crashed), 4 cannot run, 5 another request is in
rem progress (its input is left alone).
setlocal
set "exe=%~dp0Numvera.exe"
rem The documents folder as the shell knows it, also when it was moved.
for /f "tokens=2,*" %%a in ('reg query "HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders" /v Personal') do call set "docs=%%b"
set "auto=%docs%\Quendral\MFCBivoA\AutoFile"
if not exist "%docs%\Quendral\" (>&2 echo No folder Quendral in the documents folder.& exit /b 4)
if not exist "%exe%" (>&2 echo No Numvera.exe beside this file.& exit /b 4)
rem AutoFile makes every start of Numvera.exe automatic: it is removed again
rem only if it is made here. Each step is judged by what exists afterwards,
rem not by "||", which Wine 8's cmd also runs after a mkdir or ren that worked.
set made=
if not exist "%auto%\" (
    mkdir "%auto%"
    set made=1
)
if not exist "%auto%\" exit /b 4
rem Put ">" first: "echo 12 > file" writes "12 " with a space, which is
rem refused as not a number, and "echo 1>file" writes "ECHO is off."
rem (1> names a handle).
>"%auto%\DekoKan.new" echo 12
>>"%auto%\DekoKan.new" echo 34
rem A copy of what is sent: an input left after the run is ours to remove
rem only while it holds exactly these bytes.
set "sent=%TEMP%\numvera-example-%RANDOM%%RANDOM%.tbin"
copy /b "%auto%\DekoKan.new" "%sent%" >nul
rem A rename places the whole request at once and never replaces another's.
ren "%auto%\DekoKan.new" DekoKan.tbin 2>nul
rem Set while AutoFile holds an input that is not ours: it stays with it.
set kept=
if exist "%auto%\DekoKan.new" (
    del "%auto%\DekoKan.new"
    >&2 echo Another request is in progress.
    set kept=1
    set status=5
    goto done
)
start /wait "" "%exe%"
rem Numvera.exe's exit status: 0 answered, 11 to 21 why it refused (see
rem README-en.txt, or docs/driving.md in the source), anything else that it
rem did not end by itself.
set numvera=%ERRORLEVEL%
if "%numvera%"=="0" (
    type "%docs%\Quendral\MFCBivoA\Result\BivoResult.tbin"
    set status=0
    goto done
)
rem Not answered. The input may meanwhile be another program's new request.
if exist "%auto%\DekoKan.tbin" (
    fc /b "%auto%\DekoKan.tbin" "%sent%" >nul
    if errorlevel 1 (set kept=1) else del "%auto%\DekoKan.tbin"
)
set refused=
if %numvera% GEQ 11 if %numvera% LEQ 21 set refused=1
if defined refused (
    >&2 echo Numvera.exe refused the request with status %numvera%.
    set status=1
) else (
    >&2 echo Numvera.exe did not end by itself ^(status %numvera%^): no answer was read.
    set status=3
)
:done
del "%sent%" 2>nul
if not defined made exit /b %status%
rem Once our input is gone its name can stay listed a moment (FAT, exFAT,
rem network shares, Windows before 1809) while another program that has it
rem open lets go: the folder is tried again for about 2 s (each ping waits
rem about a second). If it stays, every start of Numvera.exe is automatic.
rd "%auto%" 2>nul
if not defined kept for %%t in (1 2) do if exist "%auto%\" (
    ping -n 2 127.0.0.1 >nul
    rd "%auto%" 2>nul
)
if not defined kept if exist "%auto%\" >&2 echo The folder "%auto%" stays, so the next start of Numvera.exe is automatic; remove it once it is empty.
exit /b %status%
