; QuillfernSetup.exe: installs the Torvo Quillfern suite (64-bit) into
; $PROGRAMFILES64\Torvo\Torvo Quillfern, or over an older copy where that one lives.
;
; Built by installer/CMakeLists.txt:  makensis -DQUILL_FILES=<generated file list>
;   -DQUILL_OUT=<setup exe> -DQUILL_KEY_ACCESS=<QuillfernKeyAccess.exe> [-DQUILL_ICON=<ico>]
;   [-DQUILL_PANEL=<164x314 bmp of the welcome and finish pages>]
;
; Command line:  /S                 silent (no pages, no questions)
;                /LANGUAGE=<name>   English, German or French: the suite's language and the
;                                   installer's own; without it the installer asks (silent:
;                                   the system's language when it is one of the three, else English)
;                /D=<folder>        install folder (last on the line, no quotes)
; Exit code 0 when installed, 2 when cancelled or failed.
Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "${QUILL_FILES}"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Torvo Quillfern"
!define COMPANY "Torvo"
!define INSTALL_KEY "Software\Torvo\Torvo Quillfern"
!define TORVO_KEY "Software\Torvo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvo Quillfern"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Torvo Quillfern Tray"
!define TRAY_EXE "TorvoQuillfernTray.exe"
!define CONFIG_EXE "QuillfernCfg.exe"
!define MENU_FOLDER "$SMPROGRAMS\Torvo Quillfern"

Name "${PRODUCT}"
OutFile "${QUILL_OUT}"
InstallDir "$PROGRAMFILES64\Torvo\Torvo Quillfern"
; Over an older copy: where that one lives (unless /D= names a folder).
InstallDirRegKey HKLM "${INSTALL_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${QUILL_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${QUILL_VERSION}.0"
VIFileVersion "${QUILL_VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${QUILL_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${QUILL_VERSION}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "QuillfernSetup.exe"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COMPANY}"

!ifdef QUILL_ICON
  !define MUI_ICON "${QUILL_ICON}"
  !define MUI_UNICON "${QUILL_ICON}"
!endif
!ifdef QUILL_PANEL
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${QUILL_PANEL}"
!endif
!define MUI_ABORTWARNING
!define MUI_LANGDLL_ALLLANGUAGES

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Translations\Manuals\$(QuillLanguageName)\index.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(QuillShowManual)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!ifdef QUILL_HAS_TRAY
  !define MUI_FINISHPAGE_RUN
  !define MUI_FINISHPAGE_RUN_TEXT "$(QuillStartTray)"
  !define MUI_FINISHPAGE_RUN_FUNCTION StartTrayUnelevated
!endif
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The language rows of the registry come in this order: English 0, German 1, French 2.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString QuillLanguageIndex ${LANG_ENGLISH} "0"
LangString QuillLanguageIndex ${LANG_GERMAN} "1"
LangString QuillLanguageIndex ${LANG_FRENCH} "2"
LangString QuillLanguageName ${LANG_ENGLISH} "English"
LangString QuillLanguageName ${LANG_GERMAN} "German"
LangString QuillLanguageName ${LANG_FRENCH} "French"
LangString QuillConfiguratorLink ${LANG_ENGLISH} "Torvo Quillfern Configurator"
LangString QuillConfiguratorLink ${LANG_GERMAN} "Torvo Quillfern Konfigurator"
LangString QuillConfiguratorLink ${LANG_FRENCH} "Configurateur Torvo Quillfern"
LangString QuillManualLink ${LANG_ENGLISH} "Torvo Quillfern Manual"
LangString QuillManualLink ${LANG_GERMAN} "Torvo Quillfern Handbuch"
LangString QuillManualLink ${LANG_FRENCH} "Manuel Torvo Quillfern"
LangString QuillShowManual ${LANG_ENGLISH} "Show the manual"
LangString QuillShowManual ${LANG_GERMAN} "Handbuch anzeigen"
LangString QuillShowManual ${LANG_FRENCH} "Afficher le manuel"
LangString QuillStartTray ${LANG_ENGLISH} "Start the Torvo Quillfern tray icon"
LangString QuillStartTray ${LANG_GERMAN} "Torvo Quillfern im Infobereich starten"
LangString QuillStartTray ${LANG_FRENCH} "Lancer Torvo Quillfern dans la zone de notification"
LangString QuillStillRunning ${LANG_ENGLISH} "Torvo Quillfern is still running. Please close the configuration application and the tray icon, then choose Retry."
LangString QuillStillRunning ${LANG_GERMAN} "Torvo Quillfern läuft noch. Bitte schließen Sie das Konfigurationsprogramm und das Symbol im Infobereich und wählen Sie dann Wiederholen."
LangString QuillStillRunning ${LANG_FRENCH} "Torvo Quillfern est encore en cours d'exécution. Fermez l'outil de configuration et l'icône de la zone de notification, puis choisissez Réessayer."
LangString QuillStepFailed ${LANG_ENGLISH} "Setup could not complete this step:"
LangString QuillStepFailed ${LANG_GERMAN} "Das Setup konnte diesen Schritt nicht ausführen:"
LangString QuillStepFailed ${LANG_FRENCH} "L'installation n'a pas pu effectuer cette étape :"
LangString QuillBadLanguage ${LANG_ENGLISH} "Unknown /LANGUAGE= value; use English, German or French."
LangString QuillBadLanguage ${LANG_GERMAN} "Unknown /LANGUAGE= value; use English, German or French."
LangString QuillBadLanguage ${LANG_FRENCH} "Unknown /LANGUAGE= value; use English, German or French."

; Closes the tray agent (its action 9 also closes the configuration application) and waits
; until both are gone: the tray's window and the configuration application's single-instance
; mutex. Asks the user to close them by hand when they stay (silent: gives up, exit code 2).
!macro CLOSE_RUNNING_PROGRAMS prefix
Function ${prefix}CloseRunningPrograms
  Push $0
  Push $1
  Push $2
  again:
  ${If} ${FileExists} "$INSTDIR\${TRAY_EXE}"
    ExecWait '"$INSTDIR\${TRAY_EXE}" 9'
  ${Else}
    FindWindow $0 "Torvo_Quillfern_Tray" "Torvo Quillfern Tray"
    ${If} $0 <> 0
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
  ${EndIf}
  StrCpy $1 0
  ${Do}
    FindWindow $0 "Torvo_Quillfern_Tray" "Torvo Quillfern Tray"
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "FennConfigurator") p .r2'
    ${If} $2 P<> 0
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    ${If} $0 = 0
    ${AndIf} $2 P= 0
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 > 60
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(QuillStillRunning)" /SD IDCANCEL IDRETRY again
      SetErrorLevel 2
      Quit
    ${EndIf}
    Sleep 250
  ${Loop}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PROGRAMS ""
!insertmacro CLOSE_RUNNING_PROGRAMS "un."

!macro LANGUAGE_ROW index name file
  WriteRegStr HKLM "${INSTALL_KEY}" "Language${index}" "${name}"
  WriteRegStr HKLM "${INSTALL_KEY}" "TranslationFile${index}" "${file}"
  WriteRegStr HKLM "${INSTALL_KEY}" "TranslationDefaultFont${index}" "Arial"
  WriteRegStr HKLM "${INSTALL_KEY}" "TranslationFont${index}" "Arial"
!macroend

!macro FAIL_STEP text
  DetailPrint "$(QuillStepFailed) ${text}"
  MessageBox MB_OK|MB_ICONSTOP "$(QuillStepFailed)$\r$\n${text}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

Function .onInit
  SetRegView 64
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LANGUAGE=" $R1
  ${IfNot} ${Errors}
    ${If} $R1 == "English"
      StrCpy $LANGUAGE ${LANG_ENGLISH}
    ${ElseIf} $R1 == "German"
      StrCpy $LANGUAGE ${LANG_GERMAN}
    ${ElseIf} $R1 == "French"
      StrCpy $LANGUAGE ${LANG_FRENCH}
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "$(QuillBadLanguage)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${Else}
    !insertmacro MUI_LANGDLL_DISPLAY
  ${EndIf}
FunctionEnd

!ifdef QUILL_HAS_TRAY
; The installer runs elevated; the tray must run as the user, so the shell starts it.
Function StartTrayUnelevated
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\${TRAY_EXE}"'
FunctionEnd
!endif

Section "Torvo Quillfern"
  SetShellVarContext all
  SetRegView 64
  Call CloseRunningPrograms

  !insertmacro QuillInstallFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\TorvoMiddlewareServer.dll"' $0
  ${If} $0 <> 0
    !insertmacro FAIL_STEP "regsvr32 TorvoMiddlewareServer.dll ($0)"
  ${EndIf}

  ; The install key holds exactly these values.
  DeleteRegKey HKLM "${INSTALL_KEY}"
  WriteRegStr HKLM "${INSTALL_KEY}" "InstallDir" "$INSTDIR\"
  WriteRegDWORD HKLM "${INSTALL_KEY}" "Translation" "$(QuillLanguageIndex)"
  WriteRegDWORD HKLM "${INSTALL_KEY}" "TranslationMode" 0
  !insertmacro LANGUAGE_ROW 0 "English" ""
  !insertmacro LANGUAGE_ROW 1 "German" "German.txt"
  !insertmacro LANGUAGE_ROW 2 "French" "French.txt"

  ; The programs run unelevated but write the middleware's store below HKLM\Software\Torvo:
  ; the Users group may write there. The install key stays read-only to them (its InstallDir
  ; says where the programs start each other from).
  InitPluginsDir
  File "/oname=$PLUGINSDIR\QuillfernKeyAccess.exe" "${QUILL_KEY_ACCESS}"
  nsExec::ExecToLog '"$PLUGINSDIR\QuillfernKeyAccess.exe"'
  Pop $0
  ${If} $0 != 0
    !insertmacro FAIL_STEP "HKLM\${TORVO_KEY} ($0)"
  ${EndIf}
  Delete "$PLUGINSDIR\QuillfernKeyAccess.exe"

!ifdef QUILL_HAS_TRAY
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${TRAY_EXE}"'
!else
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
!endif

  RMDir /r "${MENU_FOLDER}"
  CreateDirectory "${MENU_FOLDER}"
!ifdef QUILL_HAS_CONFIGURATOR
  CreateShortcut "${MENU_FOLDER}\$(QuillConfiguratorLink).lnk" "$INSTDIR\${CONFIG_EXE}" "" "$INSTDIR\${CONFIG_EXE}" 0
!endif
  CreateShortcut "${MENU_FOLDER}\$(QuillManualLink).lnk" "$INSTDIR\Translations\Manuals\$(QuillLanguageName)\index.html"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${QUILL_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  ReadRegDWORD $0 HKLM "${INSTALL_KEY}" "Translation"
  ${If} $0 == 1
    StrCpy $LANGUAGE ${LANG_GERMAN}
  ${ElseIf} $0 == 2
    StrCpy $LANGUAGE ${LANG_FRENCH}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
FunctionEnd

; The user's profile files (QuillfernProfile<n>.dat in the roaming application-data folder)
; and the middleware's store below HKLM\Software\Torvo are the user's: they stay.
Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Call un.CloseRunningPrograms

  ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\TorvoMiddlewareServer.dll"'
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  RMDir /r "${MENU_FOLDER}"
  !insertmacro QuillRemoveFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\Torvo"

  DeleteRegKey HKLM "${INSTALL_KEY}"
  DeleteRegKey /ifempty HKLM "${TORVO_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
