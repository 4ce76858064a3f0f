@echo off
rem Build steps for Penrik's Build menu.
rem
rem Penrik starts this file in the folder of the file last chosen in one of
rem its file dialogs, with one argument:
rem   the full path of the file being edited  Compile:  compile that file
rem   b                                       Build:    compile the sources that
rem                                                     have no object yet, then link
rem   a                                       BuildAll: compile every source, then link
rem   c                                       Clean:    remove what the build made
rem The path comes without quotes, so a path with blanks arrives as several
rem arguments; %* puts it together again.
rem
rem The compiler's messages go to buildres.ult. When a step fails, Penrik
rem opens that file in a second window laid out for build results; a
rem double-click on a message there, or F12 in the editor, goes to its line.
rem gcc counts columns with a tab as 8 unless told to count characters
rem (-fdiagnostics-column-unit=byte, gcc 11 and later); Penrik counts a tab
rem as one.

setlocal EnableDelayedExpansion

rem ---- The project: change these lines. ----------------------------------
set PROGRAM=hello.exe
set SOURCES=hello.c greet.c
rem gcc: MinGW-w64 on PATH.  cl: Microsoft C/C++ (start Penrik from a
rem Developer Command Prompt so that cl finds its headers and libraries).
if not defined TOOLCHAIN set TOOLCHAIN=gcc
rem Penrik itself, for showing buildres.ult; a full path if it is not on PATH.
if not defined PENRIK set PENRIK=penrik.exe
rem -------------------------------------------------------------------------

if /i "%TOOLCHAIN%"=="cl" (set OBJ=.obj) else (set OBJ=.o)
set FAILED=

if "%~1"=="" goto untitled
if /i "%~1"=="b" goto build
if /i "%~1"=="a" goto buildall
if /i "%~1"=="c" goto clean

:compile
set SOURCE=%*
for %%F in ("%SOURCE%") do (
    set EXT=%%~xF
    set OBJECT=%%~nF%OBJ%
)
if /i not "%EXT%"==".c" (
    echo Compile: "%SOURCE%" is not a C source file.> buildres.ult
    goto report
)
call :cc "%SOURCE%" "%OBJECT%" > buildres.ult 2>&1
goto report

:build
(
    for %%S in (%SOURCES%) do if not exist "%%~nS%OBJ%" call :cc "%%S" "%%~nS%OBJ%"
    call :link
) > buildres.ult 2>&1
goto report

:buildall
(
    for %%S in (%SOURCES%) do call :cc "%%S" "%%~nS%OBJ%"
    call :link
) > buildres.ult 2>&1
goto report

:clean
for %%S in (%SOURCES%) do if exist "%%~nS%OBJ%" del "%%~nS%OBJ%"
if exist "%PROGRAM%" del "%PROGRAM%"
if exist buildres.ult del buildres.ult
goto :eof

:untitled
echo Compile: the document has no name yet; save it first.> buildres.ult
set FAILED=1
goto report

rem Compiles %1 into the object file %2.
:cc
echo %~1
if /i "%TOOLCHAIN%"=="cl" (
    cl /nologo /W3 /c "%~1" /Fo"%~2"
) else (
    gcc -Wall -Wextra -fdiagnostics-column-unit=byte -c "%~1" -o "%~2"
)
if errorlevel 1 set FAILED=1
goto :eof

rem Links every source's object into the program, unless a compile failed.
:link
if defined FAILED goto :eof
set OBJECTS=
for %%S in (%SOURCES%) do set OBJECTS=!OBJECTS! "%%~nS%OBJ%"
echo Linking %PROGRAM%
if /i "%TOOLCHAIN%"=="cl" (
    cl /nologo !OBJECTS! /Fe"%PROGRAM%"
) else (
    gcc !OBJECTS! -o "%PROGRAM%"
)
if errorlevel 1 set FAILED=1
goto :eof

:report
if not defined FAILED goto :eof
rem The name alone, so that Penrik knows the build-results file.
start "" "%PENRIK%" buildres.ult
