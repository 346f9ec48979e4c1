# The scanner's built-in filter list in readable form (see make_filter_list.py).
TABLES = r"""
[Filtered]
# Installers, uninstallers and their stubs
unins000.exe unins001.exe unins002.exe unins003.exe unins004.exe unins005.exe unins006.exe unins007.exe
unins008.exe unins009.exe uninst.exe uninstall.exe uninstaller.exe uninst64.exe uninstall64.exe
uninstall_x64.exe Uninstall~Tool.exe UninstallHelper.exe UninstallManager.exe uninstallService.exe
unwise.exe unwise32.exe isuninst.exe IsUn0407.exe IsUn0409.exe IsUn040C.exe _isdel.exe
setup.exe setup32.exe setup64.exe setupx86.exe setupx64.exe setup_x64.exe setup_x86.exe setup_win.exe
setuphelper.exe setupapp.exe SetupUtility.exe setupwizard.exe install.exe installer.exe install32.exe
install64.exe installx64.exe InstallUtil.exe InstallShield.exe ISBEW64.exe IsConfig.exe ISSetup.exe
IDriver.exe IKernel.exe iscript.exe _INS5576._MP.exe instmsia.exe instmsiw.exe msiexec.exe msizap.exe
autorun.exe autoplay.exe autoplay32.exe launch.exe launcher.exe launcher64.exe start.exe startup.exe
bootstrap.exe bootstrapper.exe Bootstrapper64.exe dotnetfx.exe dotNetFx35setup.exe dotNetFx40_Full_x86_x64.exe
dotNetFx40_Client_x86_x64.exe dotNetFx45_Full_setup.exe NDP452-KB2901907-x86-x64-AllOS-ENU.exe
NDP462-KB3151800-x86-x64-AllOS-ENU.exe NDP472-KB4054530-x86-x64-AllOS-ENU.exe
ndp48-x86-x64-allos-enu.exe ndp48-web.exe windowsdesktop-runtime-win-x64.exe dotnet-runtime-win-x64.exe
aspnetcore-runtime-win-x64.exe vcredist.exe vcredist_x86.exe vcredist_x64.exe vcredist_ia64.exe
vc_redist.x86.exe vc_redist.x64.exe vc_redist.arm64.exe vcredist2005_x86.exe vcredist2008_x86.exe
vcredist2010_x86.exe vcredist2012_x86.exe vcredist2013_x86.exe vcredist2005_x64.exe vcredist2008_x64.exe
vcredist2010_x64.exe vcredist2012_x64.exe vcredist2013_x64.exe vc_runtimeMinimum_x64.exe
vc_runtimeAdditional_x64.exe dxsetup.exe dxwebsetup.exe directx_jun2010_redist.exe dxdiag_setup.exe
oalinst.exe PhysX_SystemSoftware.exe PhysXUpdateLoader.exe PhysXUpdateLoader64.exe xnafx40_redist.exe
xnafx31_redist.exe MicrosoftEdgeWebview2Setup.exe MicrosoftEdgeWebView2RuntimeInstallerX64.exe
jre-setup.exe jxpiinstall.exe java_updater.exe rdpclient_setup.exe SQLEXPR_x64_ENU.exe
SQLEXPR32_x86_ENU.exe SqlLocalDB.exe sqlncli.exe msxml6.exe WindowsInstaller-KB893803-v2-x86.exe
KB2533623.exe wusa.exe redist.exe redist64.exe prereq.exe prerequisites.exe DriverSetup.exe
DriverInstaller.exe dpinst.exe dpinst32.exe dpinst64.exe dpinstx64.exe dpinstx86.exe DIFxCmd.exe
DIFxInstall.exe devcon.exe drvinst.exe InstallDriver.exe SetupDrv.exe nsisinstall.exe nsis7z.exe
Au_.exe un_a.exe un_b.exe uninst-nsis.exe innounp.exe is-setup.exe setup.tmp.exe wextract.exe
ixpinst.exe iexpress.exe makecab.exe extrac32.exe expand.exe msiinfo.exe msitran.exe msidb.exe
# Updaters and update services
update.exe updater.exe updater64.exe update64.exe updatechecker.exe updatecheck.exe updatemanager.exe
UpdateService.exe UpdateHelper.exe UpdateNotifier.exe UpdateAgent.exe autoupdate.exe autoupdater.exe
auto-update.exe liveupdate.exe LiveUpdate360.exe LuComServer.exe webupdate.exe SoftwareUpdate.exe
SoftwareUpdater.exe upgrade.exe upgrader.exe patch.exe patcher.exe selfupdate.exe updchk.exe
GoogleUpdate.exe GoogleUpdateSetup.exe GoogleUpdateBroker.exe GoogleUpdateCore.exe GoogleUpdateOnDemand.exe
GoogleUpdateComRegisterShell64.exe GoogleUpdateWebPlugin.exe GoogleCrashHandler.exe GoogleCrashHandler64.exe
updater_service.exe MicrosoftEdgeUpdate.exe MicrosoftEdgeUpdateBroker.exe MicrosoftEdgeUpdateCore.exe
MicrosoftEdgeUpdateOnDemand.exe MicrosoftEdgeUpdateSetup.exe MicrosoftEdgeUpdateComRegisterShell64.exe
MicrosoftEdgeComRegisterShellARM64.exe OneDriveSetup.exe OneDriveStandaloneUpdater.exe
OneDriveUpdaterService.exe FileSyncHelper.exe FileCoAuth.exe OneDriveLauncher.exe Microsoft.SharePoint.exe
AdobeARM.exe AdobeARMHelper.exe armsvc.exe AdobeUpdateService.exe AdobeUpdater.exe AAMUpdater.exe
AAM~Updates~Notifier.exe AdobeGCClient.exe AGSService.exe AGMService.exe Adobe~Desktop~Service.exe
AdobeIPCBroker.exe Adobe~CEF~Helper.exe Adobe~Installer.exe AdobeCollabSync.exe AcroCEF.exe AcroBroker.exe
AcroTextExtractor.exe acrotray.exe AcroRd32Info.exe reader_sl.exe LogTransport2.exe CCXProcess.exe
CCLibrary.exe CoreSync.exe AdobeNotificationClient.exe Adobe_Genuine_Software_Integrity_Service.exe
AdobeExtensionsService.exe Creative~Cloud~Helper.exe Creative~Cloud~UI~Helper.exe HDHelper.exe
jusched.exe jucheck.exe jaureg.exe jaucheck.exe ssvagent.exe jp2launcher.exe javacpl.exe jabswitch.exe
jaccessinspector.exe jaccesswalker.exe unpack200.exe pack200.exe kinit.exe klist.exe ktab.exe
rmid.exe rmiregistry.exe servertool.exe tnameserv.exe orbd.exe policytool.exe keytool.exe
javaws.exe javaw.exe java.exe jrunscript.exe jjs.exe
ApplicationFrameHost.exe Squirrel.exe SquirrelSetup.exe SquirrelTemp.exe
Update.Launcher.exe ClickOnceUninstaller.exe dfsvc.exe
# Crash reporters and error reporting
crashpad_handler.exe crashreporter.exe CrashReporter64.exe crashhandler.exe crash_reporter.exe
crashsender.exe CrashSender1402.exe CrashSender1403.exe CrashRpt.exe CrashDump.exe CrashUploader.exe
BugReport.exe bugreporter.exe BugSplat.exe BsSndRpt.exe BsSndRpt64.exe BugTrap.exe errorreporter.exe
ErrorReport.exe ErrorReporter64.exe dumpreporter.exe minidump-analyzer.exe breakpad_handler.exe
UnityCrashHandler32.exe UnityCrashHandler64.exe CrashReportClient.exe UE4PrereqSetup_x64.exe
UEPrereqSetup_x64.exe UnrealCEFSubProcess.exe EpicWebHelper.exe pingsender.exe
werfault.exe werfaultsecure.exe wermgr.exe dwwin.exe dw20.exe dwtrig20.exe drwtsn32.exe
# Helpers, brokers, services and background processes of applications
helper.exe Helper64.exe apphelper.exe AppHelperCap.exe browser_broker.exe notification_helper.exe
identity_helper.exe elevation_service.exe chrome_proxy.exe chrome_pwa_launcher.exe nacl64.exe
msedge_proxy.exe msedge_pwa_launcher.exe msedgewebview2.exe cookie_exporter.exe pwahelper.exe
ie_to_edge_stub.exe setup_helper.exe software_reporter_tool.exe
maintenanceservice.exe maintenanceservice_installer.exe plugin-container.exe plugin-hang-ui.exe
default-browser-agent.exe private_browsing.exe firefox_helper.exe thunderbird_helper.exe
opera_autoupdate.exe opera_crashreporter.exe opera_gx_splash.exe browser_assistant.exe
vivaldi_proxy.exe brave_vpn_helper.exe BraveUpdate.exe BraveCrashHandler.exe BraveCrashHandler64.exe
steamservice.exe steamwebhelper.exe steamerrorreporter.exe steamerrorreporter64.exe GameOverlayUI.exe
streaming_client.exe x64launcher.exe x86launcher.exe gldriverquery.exe gldriverquery64.exe
vulkandriverquery.exe vulkandriverquery64.exe secure_desktop_capture.exe html5app_steam.exe
steamsysinfo.exe SteamTmp.exe EpicGamesLauncherHelper.exe EpicOnlineServicesHost.exe
EpicOnlineServicesInstaller.exe EOSBootstrapper.exe EasyAntiCheat.exe EasyAntiCheat_Setup.exe
EasyAntiCheat_EOS.exe EasyAntiCheat_EOS_Setup.exe BEService.exe BEService_x64.exe BattlEye~Launcher.exe
Battle.net~Helper.exe Agent.exe BlizzardError.exe GalaxyClient~Helper.exe GalaxyCommunication.exe
GOG~Galaxy~Notifications~Renderer.exe EADesktop_Helper.exe EABackgroundService.exe EACefSubProcess.exe
EAConnect_microsoft.exe OriginWebHelperService.exe OriginThinSetupInternal.exe OriginClientService.exe
OriginER.exe UbisoftGameLauncher.exe UbisoftGameLauncher64.exe UplayWebCore.exe UplayService.exe
upc.exe UbisoftConnectWebCore.exe RockstarService.exe RockstarErrorHandler.exe RockstarSteamHelper.exe
LauncherPatcher.exe PlayGTAV.exe GTAVLauncher.exe
nvcontainer.exe NVDisplay.Container.exe nvsphelper.exe nvsphelper64.exe NVIDIA~Share.exe
NVIDIA~Web~Helper.exe NVIDIA~Overlay.exe nvtray.exe nvxdsync.exe nvvsvc.exe nvstreamsvc.exe
NvTelemetryContainer.exe NvBackend.exe  NvOAWrapperCache.exe NvProfileUpdater64.exe
NvNetworkService.exe nvstreamer.exe NvStreamUserAgent.exe nvwmi64.exe nvdebugdump.exe nvidia-smi.exe
nvapiw.exe NvGFTrayPluginr.exe NvRtxVoiceSetup.exe NVIDIA~app~SelfUpdate.exe
AMDRSServ.exe atieclxx.exe atiesrxx.exe AUEPMaster.exe AUEPUF.exe amdow.exe cncmd.exe
MOM.exe CLIStart.exe amddvr.exe AMDRSSrcExt.exe AMDCleanupUtility.exe AMDInstallManager.exe
InstallManagerApp.exe AMDSoftwareInstaller.exe RSServCmd.exe atiedu.exe AMDPPM.exe amdfendrsr.exe
igfxEM.exe igfxHK.exe igfxTray.exe igfxCUIService.exe igfxext.exe igfxsrvc.exe hkcmd.exe persistence.exe
IntelCpHDCPSvc.exe IntelCpHeciSvc.exe LMS.exe jhi_service.exe esrv.exe esrv_svc.exe RstMwService.exe
IAStorDataMgrSvc.exe IAStorIcon.exe DSAService.exe DSATray.exe DSAUpdateService.exe
IntelAudioService.exe OneApp.IGCC.WinService.exe  SocketHeciServer.exe ipf_uf.exe ipfsvc.exe
RtkNGUI64.exe RAVCpl64.exe RAVBg64.exe RtkAudUService64.exe RtHDVCpl.exe RtHDVBg.exe RtkAudioService.exe
RtkBtManServ.exe RtlUpd.exe RtlUpd64.exe RtWlan.exe RtkUWP.exe RtkAudUService.exe
LCore.exe lghub_agent.exe lghub_updater.exe lghub_system_tray.exe LogiOptionsMgr.exe LogiOverlay.exe
LogiLDA.exe LogiBolt.exe KHALMNPR.exe SetPoint32.exe logi_crashpad_handler.exe LogiAppBroker.exe
RzSynapse.exe Razer~Synapse~Service.exe Razer~Synapse~Service~Process.exe RazerCentralService.exe
GameManagerService.exe RzSDKService.exe RzChromaStreamServer.exe CorsairService.exe iCUEDevicePluginHost.exe
SteelSeriesEngine.exe SteelSeriesGGClient.exe SteelSeriesPrism.exe
SynTPEnh.exe SynTPHelper.exe SynTPEnhService.exe ETDCtrl.exe ETDService.exe ETDCtrlHelper.exe
ApntEx.exe Apoint.exe hidfind.exe DellSupportAssistRemedationService.exe SupportAssistAgent.exe
DellUpdate.exe Dell.TechHub.exe Dell.D3.WinSvc.exe dcu-cli.exe HPSupportSolutionsFrameworkService.exe
HPNetworkCommunicator.exe HPMessageService.exe HPPrintScanDoctorService.exe HPAudioSwitch.exe
HPJumpStartBridge.exe hpqwmiex.exe HPHotkeyNotification.exe hpatchmonTask.exe HPWMISVC.exe
LenovoVantageService.exe LenovoUtilityService.exe ImController.InfInstaller.exe LenovoUpdate.exe
TPKNRRES.exe TpKmpSVC.exe AsusUpdate.exe ArmouryCrate.Service.exe ArmouryCrate.UserSessionHelper.exe
AsusOptimization.exe ATKOSD2.exe AsHotplugCtrl.exe AcerQuickAccess.exe ePowerSvc.exe MSI_Central_Service.exe
MSI.CentralServer.exe SamsungMagicianSVC.exe SamsungSettings.exe
# Office, cloud storage, communication and security components
OfficeClickToRun.exe OfficeC2RClient.exe AppVShNotify.exe IntegratedOffice.exe msoia.exe msoadfsb.exe
MSOSYNC.exe OSPPREARM.exe FIRSTRUN.EXE CLVIEW.EXE MSOHTMED.EXE ose.exe OSE00000.exe setlang.exe
msoev.exe msotd.exe MSOUC.exe OfficeScrubber.exe OLicenseHeartbeat.exe sdxhelper.exe ai.exe
Microsoft.Mashup.Container.exe Microsoft.Mashup.Container.NetFX40.exe Microsoft.Mashup.Container.Loader.exe
DATABASECOMPARE.EXE SPREADSHEETCOMPARE.EXE SELFCERT.EXE MSQRY32.EXE OcPubMgr.exe CSISYNCCLIENT.EXE
Dropbox~Update.exe DropboxUpdate.exe DropboxCrashHandler.exe QtWebEngineProcess.exe
DropboxOEM.exe GoogleDriveFS_Helper.exe crashpad_handler64.exe
BoxUpdate.exe Box.Desktop.UpdateService.exe iCloudServices.exe iCloudDrive.exe iCloudPhotos.exe
iCloudCKKS.exe ApplePhotoStreams.exe secd.exe APSDaemon.exe AppleMobileDeviceService.exe
AppleMobileDeviceHelper.exe mDNSResponder.exe distnoted.exe SyncServer.exe iPodService.exe
iTunesHelper.exe SoftwareUpdate~Apple.exe
Zoom_launcher.exe ZoomWebviewHost.exe zCrashReport.exe zCrashReport64.exe ZoomOutlookIMPlugin.exe
CptHost.exe aomhost64.exe airhost.exe zTscoder.exe zWebview2Agent.exe
ms-teams_autostarter.exe ms-teamsupdate.exe Teams_windows_x64.exe
skypebridge.exe  SkypeBackgroundHost.exe

WebexHost.exe CiscoWebExStart.exe atmgr.exe ptoneclk.exe
MsMpEng.exe NisSrv.exe MpCmdRun.exe MpDefenderCoreService.exe MsSense.exe SecurityHealthService.exe
SecurityHealthSystray.exe SecurityHealthHost.exe smartscreen.exe avgnt.exe avguard.exe avshadow.exe
Avira.ServiceHost.exe Avira.Systray.exe AvastSvc.exe  aswidsagent.exe aswEngSrv.exe
aswToolsSvc.exe afwServ.exe AvastBrowserCrashHandler.exe AVGSvc.exe  avgsvca.exe
ccSvcHst.exe  nsWscSvc.exe NortonLifeLock~Update.exe mcshield.exe mfefire.exe
mfemms.exe mfevtps.exe McUICnt.exe ModuleCoreService.exe PEFService.exe McAPExe.exe
ekrn.exe  eguiProxy.exe bdagent.exe vsserv.exe bdservicehost.exe updatesrv.exe
ProductAgentService.exe  avpui.exe kavtray.exe klnagent.exe MBAMService.exe mbamtray.exe
MBAMInstallerService.exe mbamdor.exe  SophosFS.exe SAVService.exe ALsvc.exe
WRSA.exe PSANHost.exe PSUAService.exe PSUAMain.exe SBAMSvc.exe ZAPrivacyService.exe
# Utilities' own components
7zG.exe   7za.exe 7zr.exe 7zSD.exe Uninstall7z.exe WinRAR_Uninstall.exe
uninstallWinRAR.exe RarExtInstaller.exe Rar.exe UnRAR.exe RarExt.exe WinZipExpressForOffice.exe
wzqkpick.exe wzpreloader.exe WzBGTComServer.exe WzUpdateNotifier.exe wzdupe.exe
CCleanerBugReport.exe CCUpdate.exe CCleanerPerformanceOptimizerService.exe uninst_cc.exe
TeamViewer_Service.exe tv_w32.exe tv_x64.exe TeamViewer_Desktop.exe TeamViewer_Note.exe
TeamViewer_Setup.exe
notepad++_updater.exe GUP.exe gpup.exe VLCHelper.exe vlc-cache-gen.exe
QtWebEngineProcessd.exe QtHelper.exe  CefSharp.BrowserSubprocess.exe
CefSubProcess.exe  cef_subprocess.exe CefHelper.exe
WebView2Host.exe electron.exe  npm.exe yarn.exe
pip.exe pip3.exe pyw.exe  wininst-10.0.exe wininst-14.0.exe
t32.exe t64.exe w32.exe w64.exe cli.exe cli-32.exe cli-64.exe gui.exe gui-32.exe gui-64.exe
perl.exe wperl.exe ruby.exe rubyw.exe php.exe php-cgi.exe php-win.exe tclsh.exe wish.exe
git-remote-http.exe git-remote-https.exe
git-credential-manager.exe git-credential-manager-core.exe git-lfs.exe sh.exe
mintty.exe  winpty.exe winpty-agent.exe  ssh-agent.exe ssh-add.exe
ssh-keygen.exe scp.exe sftp.exe gpg.exe gpg-agent.exe gpgconf.exe dirmngr.exe pinentry.exe
gzip.exe bzip2.exe xz.exe unzip.exe zip.exe less.exe
awk.exe gawk.exe sed.exe grep.exe   diff.exe patch64.exe cmp.exe
# Development tool components
vshost.exe vshost32.exe vshost64.exe msvsmon.exe VsDebugConsole.exe
ServiceHub.Host.CLR.x86.exe ServiceHub.Host.netfx.x86.exe ServiceHub.IdentityHost.exe
ServiceHub.RoslynCodeAnalysisService.exe ServiceHub.SettingsHost.exe ServiceHub.VSDetouredHost.exe
ServiceHub.ThreadedWaitDialog.exe ServiceHub.Host.dotnet.x64.exe Microsoft.ServiceHub.Controller.exe
PerfWatson2.exe vs_installer.exe vs_installershell.exe vs_installerservice.exe
VSIXInstaller.exe VSIXAutoUpdate.exe VSHub.exe vstest.console.exe testhost.exe testhost.x86.exe
MSBuild.exe VBCSCompiler.exe csc.exe vbc.exe cl.exe link.exe lib.exe rc.exe mt.exe nmake.exe
midl.exe cvtres.exe signtool.exe editbin.exe dumpbin.exe ml.exe ml64.exe tlbimp.exe tlbexp.exe
regasm.exe regsvcs.exe ngen.exe ngentask.exe aspnet_compiler.exe aspnet_regiis.exe aspnet_state.exe
CasPol.exe jsc.exe AppLaunch.exe  WindowsSdkVerifier.exe ildasm.exe ilasm.exe
gacutil.exe sn.exe resgen.exe al.exe xsd.exe wsdl.exe svcutil.exe sqlmetal.exe
Code~Helper.exe Code~-~Insiders~Helper.exe inno_updater.exe code-tunnel.exe rg.exe winpty-agent64.exe
fsnotifier.exe fsnotifier64.exe elevator.exe restarter.exe jetbrains-toolbox-helper.exe
jcef_helper.exe remote-dev-server.exe repair.exe
javac.exe jar.exe javadoc.exe javap.exe jdb.exe jconsole.exe jshell.exe jstack.exe
jmap.exe jcmd.exe jps.exe jstat.exe jinfo.exe jhsdb.exe jlink.exe jmod.exe jpackage.exe jdeps.exe
adb.exe fastboot.exe aapt.exe aapt2.exe zipalign.exe  qemu-system-x86_64.exe
gradle.exe  gcc.exe g++.exe  make.exe mingw32-make.exe
ld.exe as.exe ar.exe objdump.exe strip.exe windres.exe  ctest.exe cpack.exe ninja.exe
clang.exe clang++.exe clang-cl.exe lld-link.exe clangd.exe clang-format.exe clang-tidy.exe
sqlcmd.exe bcp.exe SQLAGENT.EXE sqlservr.exe sqlwriter.exe sqlbrowser.exe
SqlDumper.exe SQLCEIP.exe fdlauncher.exe fdhost.exe
mysqld.exe mysqladmin.exe mysqldump.exe mysql.exe mysqlcheck.exe mysqlimport.exe
postgres.exe pg_ctl.exe pg_dump.exe pg_restore.exe psql.exe initdb.exe pg_dumpall.exe
mongod.exe mongos.exe mongo.exe mongodump.exe mongorestore.exe redis-server.exe redis-cli.exe
httpd.exe   tomcat9.exe tomcat9w.exe
# Runtimes' and drivers' helpers
CompPkgSrv.exe CompatTelRunner.exe DeviceCensus.exe MoUsoCoreWorker.exe musNotification.exe
musNotificationUx.exe MusNotifyIcon.exe usoclient.exe  WaaSMedicAgent.exe
SIHClient.exe  remsh.exe uhssvc.exe upfc.exe osrss.exe wuauclt.exe wuapihost.exe
TiWorker.exe TrustedInstaller.exe dismhost.exe  wsqmcons.exe disksnapshot.exe
VSSVC.exe SearchIndexer.exe SearchProtocolHost.exe SearchFilterHost.exe SearchApp.exe SearchHost.exe
SearchUI.exe StartMenuExperienceHost.exe ShellExperienceHost.exe TextInputHost.exe LockApp.exe
RuntimeBroker.exe backgroundTaskHost.exe BackgroundTransferHost.exe taskhostw.exe taskhost.exe
taskhostex.exe taskeng.exe svchost.exe lsass.exe lsaiso.exe csrss.exe winlogon.exe wininit.exe
smss.exe services.exe spoolsv.exe dwm.exe conhost.exe dllhost.exe rundll32.exe regsvr32.exe
fontdrvhost.exe ctfmon.exe audiodg.exe WmiPrvSE.exe wmiadap.exe WmiApSrv.exe unsecapp.exe
userinit.exe LogonUI.exe consent.exe sppsvc.exe SppExtComObj.Exe slui.exe
msdtc.exe dashost.exe WUDFHost.exe wlanext.exe lsm.exe mobsync.exe
NgcIso.exe  Registry.exe
SgrmBroker.exe SystemSettingsBroker.exe SystemSettingsAdminFlows.exe UserOOBEBroker.exe
GameBarPresenceWriter.exe  gamingservices.exe gamingservicesnet.exe XboxPcAppFT.exe
YourPhoneServer.exe PhoneExperienceHost.exe CrossDeviceResume.exe
Widgets.exe WidgetService.exe WindowsPackageManagerServer.exe
MicrosoftEdgeSH.exe MicrosoftEdgeCP.exe
CredentialUIBroker.exe PickerHost.exe
AggregatorHost.exe DataExchangeHost.exe InputPersonalization.exe LocationNotificationWindows.exe
MicTray64.exe MicTray.exe PresentationFontCache.exe PresentationHost.exe WindowsInternal.ComposableShell.Experiences.TextInput.InputApp.exe
SettingSyncHost.exe SkypeHost.exe  SpeechRuntime.exe SpeechModelDownload.exe
srtasks.exe   sdiagnhost.exe  ie4uinit.exe ieUnatt.exe
ielowutil.exe IEInstal.exe iediagcmd.exe ExtExport.exe hmmapi.exe wab.exe wabmig.exe
DeviceEnroller.exe omadmclient.exe provtool.exe MDMAppInstaller.exe ClipUp.exe
LicensingUI.exe LicenseManagerShellext.exe WinStore.App.exe AppHostRegistrationVerifier.exe
WWAHost.exe  EoAExperiences.exe PrintIsolationHost.exe splwow64.exe PrintDialog.exe
PrintBrmUi.exe PrintBrmEngine.exe printfilterpipelinesvc.exe  DeviceProperties.exe
DevicePairingWizard.exe DeviceEject.exe DeviceDisplayObjectProvider.exe DmNotificationBroker.exe
DmOmaCpMo.exe dmcfghost.exe   HxTsr.exe HxOutlook.exe HxCalendarAppImm.exe
HxAccounts.exe Video.UI.exe Music.UI.exe Microsoft.Photos.exe
PeopleApp.exe  Cortana.exe
InstallAgent.exe InstallAgentUserBroker.exe
MoNotificationUx.exe  OpenConsole.exe
CloudExperienceHostBroker.exe UserAccountBroker.exe AuthHost.exe WebViewHost.exe
GamePanel.exe bcastdvr.exe mfpmp.exe WMPNetwk.exe wmpnscfg.exe wmpshare.exe setup_wm.exe
wmlaunch.exe  unregmp2.exe msoobe.exe  windeploy.exe sysprep.exe
setupugc.exe setupcl.exe pnpunattend.exe SetupHost.exe SetupPrep.exe WindowsUpdateBox.exe
Windows10UpgraderApp.exe Windows10Upgrade.exe Windows11InstallationAssistant.exe MediaCreationTool.exe
MediaCreationTool22H2.exe MediaCreationToolW11.exe GWX.exe GWXUX.exe
winsat.exe WinSATRestorePower.exe
"""

TABLES += r"""
[Operating System]
regedit.exe | Microsoft Corporation | Registry Editor | https://www.microsoft.com/windows/ | https://www.microsoft.com/windows/
taskmgr.exe | Microsoft Corporation | Task Manager | https://www.microsoft.com/windows/ | https://www.microsoft.com/windows/
mmc.exe | Microsoft Corporation | Microsoft Management Console | https://www.microsoft.com/windows/ | https://www.microsoft.com/windows/
msconfig.exe | Microsoft Corporation | System Configuration | https://www.microsoft.com/windows/ | https://www.microsoft.com/windows/
cmd.exe | Microsoft Corporation | Windows Command Processor | https://www.microsoft.com/windows/ | https://www.microsoft.com/windows/
powershell.exe | Microsoft Corporation | Windows PowerShell | https://learn.microsoft.com/powershell/ | https://github.com/PowerShell/PowerShell/releases
pwsh.exe | Microsoft Corporation | PowerShell | https://learn.microsoft.com/powershell/ | https://github.com/PowerShell/PowerShell/releases | 1
WindowsTerminal.exe | Microsoft Corporation | Windows Terminal | https://github.com/microsoft/terminal | https://github.com/microsoft/terminal/releases | 1
control.exe eventvwr.exe perfmon.exe resmon.exe msinfo32.exe dxdiag.exe cleanmgr.exe dfrgui.exe
defrag.exe
mrt.exe rstrui.exe SystemPropertiesAdvanced.exe SystemPropertiesComputerName.exe
SystemPropertiesPerformance.exe SystemPropertiesProtection.exe SystemPropertiesRemote.exe
SystemPropertiesHardware.exe SystemPropertiesDataExecutionPrevention.exe UserAccountControlSettings.exe
Netplwiz.exe recdisc.exe RecoveryDrive.exe msra.exe quickassist.exe winver.exe verifier.exe
iscsicpl.exe odbcad32.exe printui.exe  dcomcnfg.exe  credwiz.exe
fsquirt.exe sdclt.exe msdt.exe  WFS.exe psr.exe DpiScaling.exe rekeywiz.exe
tpmInit.exe BitLockerWizard.exe BitLockerWizardElev.exe bdeunlock.exe FXSCOVER.exe
SystemSettings.exe explorer.exe powershell_ise.exe wscript.exe cscript.exe mshta.exe
diskpart.exe chkdsk.exe sfc.exe dism.exe bcdedit.exe bootcfg.exe  ipconfig.exe ping.exe
tracert.exe pathping.exe netstat.exe nslookup.exe netsh.exe net.exe net1.exe arp.exe route.exe
hostname.exe whoami.exe systeminfo.exe tasklist.exe taskkill.exe sc.exe schtasks.exe at.exe
reg.exe regini.exe robocopy.exe xcopy.exe attrib.exe icacls.exe cacls.exe takeown.exe cipher.exe
compact.exe fsutil.exe mountvol.exe vssadmin.exe wbadmin.exe shutdown.exe logoff.exe runas.exe
certutil.exe certreq.exe gpupdate.exe gpresult.exe wevtutil.exe wmic.exe powercfg.exe bitsadmin.exe
manage-bde.exe pnputil.exe driverquery.exe auditpol.exe clip.exe choice.exe timeout.exe where.exe
openfiles.exe setx.exe subst.exe label.exe fc.exe comp.exe
winrs.exe  quser.exe qwinsta.exe rwinsta.exe tscon.exe tsdiscon.exe msg.exe
w32tm.exe typeperf.exe logman.exe relog.exe tracerpt.exe lodctr.exe unlodctr.exe winmgmt.exe
mofcomp.exe wbemtest.exe cmdkey.exe   dsregcmd.exe

[Windows]
notepad.exe | Microsoft Corporation | Notepad | https://www.microsoft.com/windows/ | https://apps.microsoft.com/
mspaint.exe | Microsoft Corporation | Paint | https://www.microsoft.com/windows/ | https://apps.microsoft.com/
calc.exe | Microsoft Corporation | Calculator | https://www.microsoft.com/windows/ | https://apps.microsoft.com/
write.exe wordpad.exe charmap.exe SnippingTool.exe magnify.exe osk.exe Narrator.exe mstsc.exe
sndrec32.exe SoundRecorder.exe StikyNot.exe winhlp32.exe hh.exe  eudcedit.exe
mplay32.exe
xpsrchvw.exe  Journal.exe MathInput.exe mip.exe
wiaacmgr.exe  telnet.exe tftp.exe ftp.exe
utilman.exe sethc.exe  displayswitch.exe isoburn.exe
wisptis.exe

[Browsers]
chrome.exe | Google LLC | Google Chrome | https://www.google.com/chrome/ | https://www.google.com/chrome/ | 1
firefox.exe | Mozilla Corporation | Mozilla Firefox | https://www.mozilla.org/firefox/ | https://www.mozilla.org/firefox/new/ | 1
msedge.exe | Microsoft Corporation | Microsoft Edge | https://www.microsoft.com/edge | https://www.microsoft.com/edge/download | 1
iexplore.exe | Microsoft Corporation | Internet Explorer | https://www.microsoft.com/windows/internet-explorer | https://www.microsoft.com/edge
MicrosoftEdge.exe | Microsoft Corporation | Microsoft Edge Legacy | https://www.microsoft.com/edge | https://www.microsoft.com/edge/download
opera.exe | Opera Norway AS | Opera | https://www.opera.com/ | https://www.opera.com/download | 1
brave.exe | Brave Software, Inc. | Brave Browser | https://brave.com/ | https://brave.com/download/ | 1
vivaldi.exe | Vivaldi Technologies AS | Vivaldi | https://vivaldi.com/ | https://vivaldi.com/download/ | 1
waterfox.exe | Waterfox Limited | Waterfox | https://www.waterfox.net/ | https://www.waterfox.net/download/
palemoon.exe | Moonchild Productions | Pale Moon | https://www.palemoon.org/ | https://www.palemoon.org/download.shtml
seamonkey.exe | SeaMonkey e.V. | SeaMonkey | https://www.seamonkey-project.org/ | https://www.seamonkey-project.org/releases/
librewolf.exe | LibreWolf Community | LibreWolf | https://librewolf.net/ | https://librewolf.net/installation/windows/
tor.exe | The Tor Project, Inc. | Tor | https://www.torproject.org/ | https://www.torproject.org/download/
Safari.exe | Apple Inc. | Safari | https://www.apple.com/safari/ | https://www.apple.com/safari/
maxthon.exe | Maxthon International | Maxthon | https://www.maxthon.com/ | https://www.maxthon.com/download
browser.exe | Yandex LLC | Yandex Browser | https://browser.yandex.com/ | https://browser.yandex.com/
netscape.exe | Netscape Communications Corporation | Netscape Navigator | https://en.wikipedia.org/wiki/Netscape_Navigator | https://www.mozilla.org/firefox/
k-meleon.exe | K-Meleon Team | K-Meleon | http://kmeleonbrowser.org/ | http://kmeleonbrowser.org/download.php
thorium.exe | Alex313031 | Thorium | https://thorium.rocks/ | https://github.com/Alex313031/Thorium-Win/releases
floorp.exe | Ablaze | Floorp | https://floorp.app/ | https://floorp.app/download

[Internet]
thunderbird.exe | Mozilla Foundation | Mozilla Thunderbird | https://www.thunderbird.net/ | https://www.thunderbird.net/download/ | 1
outlook.exe | Microsoft Corporation | Microsoft Outlook | https://www.microsoft.com/microsoft-365/outlook | https://www.microsoft.com/microsoft-365
msimn.exe | Microsoft Corporation | Outlook Express | https://www.microsoft.com/windows/ | https://www.microsoft.com/microsoft-365/outlook
filezilla.exe | Tim Kosse | FileZilla | https://filezilla-project.org/ | https://filezilla-project.org/download.php
WinSCP.exe | Martin Prikryl | WinSCP | https://winscp.net/ | https://winscp.net/eng/download.php
putty.exe | Simon Tatham | PuTTY | https://www.chiark.greenend.org.uk/~sgtatham/putty/ | https://www.chiark.greenend.org.uk/~sgtatham/putty/latest.html
puttygen.exe | Simon Tatham | PuTTYgen | https://www.chiark.greenend.org.uk/~sgtatham/putty/ | https://www.chiark.greenend.org.uk/~sgtatham/putty/latest.html
pageant.exe | Simon Tatham | Pageant | https://www.chiark.greenend.org.uk/~sgtatham/putty/ | https://www.chiark.greenend.org.uk/~sgtatham/putty/latest.html
psftp.exe plink.exe pscp.exe
KiTTY.exe | Cyd for 9bis.com | KiTTY | https://www.9bis.net/kitty/ | https://www.9bis.net/kitty/#!pages/download.md
qbittorrent.exe | The qBittorrent project | qBittorrent | https://www.qbittorrent.org/ | https://www.qbittorrent.org/download
uTorrent.exe | Rainberry, Inc. | uTorrent | https://www.utorrent.com/ | https://www.utorrent.com/downloads/
BitTorrent.exe | Rainberry, Inc. | BitTorrent | https://www.bittorrent.com/ | https://www.bittorrent.com/downloads/
transmission-qt.exe | Transmission Project | Transmission | https://transmissionbt.com/ | https://transmissionbt.com/download
Deluge.exe | Deluge Team | Deluge | https://deluge-torrent.org/ | https://deluge-torrent.org/download/
Skype.exe | Microsoft Corporation | Skype | https://www.skype.com/ | https://www.skype.com/en/get-skype/ | 1
Teams.exe | Microsoft Corporation | Microsoft Teams | https://www.microsoft.com/microsoft-teams | https://www.microsoft.com/microsoft-teams/download-app | 1
ms-teams.exe | Microsoft Corporation | Microsoft Teams (work or school) | https://www.microsoft.com/microsoft-teams | https://www.microsoft.com/microsoft-teams/download-app
Zoom.exe | Zoom Video Communications, Inc. | Zoom Workplace | https://zoom.us/ | https://zoom.us/download | 1
slack.exe | Slack Technologies, LLC | Slack | https://slack.com/ | https://slack.com/downloads/windows | 1
Discord.exe | Discord Inc. | Discord | https://discord.com/ | https://discord.com/download | 1
Telegram.exe | Telegram FZ-LLC | Telegram Desktop | https://desktop.telegram.org/ | https://desktop.telegram.org/
WhatsApp.exe | WhatsApp LLC | WhatsApp | https://www.whatsapp.com/ | https://www.whatsapp.com/download
Signal.exe | Signal Messenger, LLC | Signal | https://signal.org/ | https://signal.org/download/
pidgin.exe | Pidgin Developers | Pidgin | https://pidgin.im/ | https://pidgin.im/install/
hexchat.exe | HexChat | HexChat | https://hexchat.github.io/ | https://hexchat.github.io/downloads.html
mirc.exe | mIRC Co. Ltd. | mIRC | https://www.mirc.com/ | https://www.mirc.com/get.html
Element.exe | Element | Element | https://element.io/ | https://element.io/download
webex.exe | Cisco Systems, Inc. | Webex | https://www.webex.com/ | https://www.webex.com/downloads.html
AnyDesk.exe | AnyDesk Software GmbH | AnyDesk | https://anydesk.com/ | https://anydesk.com/downloads
TeamViewer.exe | TeamViewer Germany GmbH | TeamViewer | https://www.teamviewer.com/ | https://www.teamviewer.com/download/
vncviewer.exe | RealVNC Ltd | VNC Viewer | https://www.realvnc.com/ | https://www.realvnc.com/download/viewer/
tvnviewer.exe | GlavSoft LLC. | TightVNC Viewer | https://www.tightvnc.com/ | https://www.tightvnc.com/download.php
OneDrive.exe | Microsoft Corporation | Microsoft OneDrive | https://www.microsoft.com/microsoft-365/onedrive | https://www.microsoft.com/microsoft-365/onedrive/download | 1
Dropbox.exe | Dropbox, Inc. | Dropbox | https://www.dropbox.com/ | https://www.dropbox.com/install
GoogleDriveFS.exe | Google LLC | Google Drive | https://www.google.com/drive/ | https://www.google.com/drive/download/
nextcloud.exe | Nextcloud GmbH | Nextcloud Desktop | https://nextcloud.com/ | https://nextcloud.com/install/
ownCloud.exe | ownCloud GmbH | ownCloud Desktop | https://owncloud.com/ | https://owncloud.com/desktop-app/
iCloud.exe | Apple Inc. | iCloud for Windows | https://www.apple.com/icloud/ | https://support.apple.com/icloud
MEGAsync.exe | Mega Limited | MEGA Desktop App | https://mega.io/ | https://mega.io/desktop
Syncthing.exe | The Syncthing Authors | Syncthing | https://syncthing.net/ | https://syncthing.net/downloads/
fdm.exe | Softdeluxe | Free Download Manager | https://www.freedownloadmanager.org/ | https://www.freedownloadmanager.org/download.htm
IDMan.exe | Tonec Inc. | Internet Download Manager | https://www.internetdownloadmanager.com/ | https://www.internetdownloadmanager.com/download.html
wireshark.exe | Wireshark Foundation | Wireshark | https://www.wireshark.org/ | https://www.wireshark.org/download.html
Fiddler.exe | Progress Software Corporation | Fiddler Classic | https://www.telerik.com/fiddler | https://www.telerik.com/download/fiddler
Postman.exe | Postman, Inc. | Postman | https://www.postman.com/ | https://www.postman.com/downloads/
openvpn-gui.exe | OpenVPN Inc. | OpenVPN GUI | https://openvpn.net/ | https://openvpn.net/community-downloads/
wireguard.exe | WireGuard LLC | WireGuard | https://www.wireguard.com/ | https://www.wireguard.com/install/
"""

TABLES += r"""
[Utilities]
7zFM.exe | Igor Pavlov | 7-Zip | https://www.7-zip.org/ | https://www.7-zip.org/download.html
WinRAR.exe | win.rar GmbH | WinRAR | https://www.win-rar.com/ | https://www.win-rar.com/download.html
winzip64.exe | WinZip Computing | WinZip | https://www.winzip.com/ | https://www.winzip.com/en/download/
PeaZip.exe | Giorgio Tani | PeaZip | https://peazip.github.io/ | https://peazip.github.io/
Bandizip.exe | Bandisoft International Inc. | Bandizip | https://www.bandisoft.com/bandizip/ | https://www.bandisoft.com/bandizip/
CCleaner64.exe | Piriform Software Ltd | CCleaner | https://www.ccleaner.com/ | https://www.ccleaner.com/ccleaner/download
Everything.exe | voidtools | Everything | https://www.voidtools.com/ | https://www.voidtools.com/downloads/
procexp64.exe | Sysinternals - www.sysinternals.com | Process Explorer | https://learn.microsoft.com/sysinternals/ | https://learn.microsoft.com/sysinternals/downloads/process-explorer
Procmon64.exe | Sysinternals - www.sysinternals.com | Process Monitor | https://learn.microsoft.com/sysinternals/ | https://learn.microsoft.com/sysinternals/downloads/procmon
Autoruns64.exe | Sysinternals - www.sysinternals.com | Autoruns | https://learn.microsoft.com/sysinternals/ | https://learn.microsoft.com/sysinternals/downloads/autoruns
TreeSizeFree.exe | JAM Software GmbH | TreeSize Free | https://www.jam-software.com/treesize_free | https://www.jam-software.com/treesize_free
WinDirStat.exe | WinDirStat Team | WinDirStat | https://windirstat.net/ | https://windirstat.net/download.html
Recuva64.exe | Piriform Software Ltd | Recuva | https://www.ccleaner.com/recuva | https://www.ccleaner.com/recuva/download
KeePass.exe | Dominik Reichl | KeePass Password Safe | https://keepass.info/ | https://keepass.info/download.html
KeePassXC.exe | KeePassXC Team | KeePassXC | https://keepassxc.org/ | https://keepassxc.org/download/
Bitwarden.exe | Bitwarden Inc. | Bitwarden | https://bitwarden.com/ | https://bitwarden.com/download/
1Password.exe | AgileBits Inc. | 1Password | https://1password.com/ | https://1password.com/downloads/windows/
VeraCrypt.exe | IDRIX | VeraCrypt | https://www.veracrypt.fr/ | https://www.veracrypt.fr/en/Downloads.html
rufus.exe | Akeo Consulting | Rufus | https://rufus.ie/ | https://rufus.ie/
balenaEtcher.exe | Balena Ltd. | balenaEtcher | https://etcher.balena.io/ | https://etcher.balena.io/
Ventoy2Disk.exe | longpanda | Ventoy | https://www.ventoy.net/ | https://www.ventoy.net/en/download.html
cpuz_x64.exe | CPUID | CPU-Z | https://www.cpuid.com/softwares/cpu-z.html | https://www.cpuid.com/softwares/cpu-z.html
HWMonitor_x64.exe | CPUID | HWMonitor | https://www.cpuid.com/softwares/hwmonitor.html | https://www.cpuid.com/softwares/hwmonitor.html
GPU-Z.exe | TechPowerUp | GPU-Z | https://www.techpowerup.com/gpuz/ | https://www.techpowerup.com/download/techpowerup-gpu-z/
HWiNFO64.exe | Martin Malik - REALiX | HWiNFO64 | https://www.hwinfo.com/ | https://www.hwinfo.com/download/
DiskInfo64.exe | Crystal Dew World | CrystalDiskInfo | https://crystalmark.info/ | https://crystalmark.info/en/software/crystaldiskinfo/
DiskMark64.exe | Crystal Dew World | CrystalDiskMark | https://crystalmark.info/ | https://crystalmark.info/en/software/crystaldiskmark/
Greenshot.exe | Greenshot | Greenshot | https://getgreenshot.org/ | https://getgreenshot.org/downloads/
ShareX.exe | ShareX Team | ShareX | https://getsharex.com/ | https://getsharex.com/downloads
AutoHotkey.exe | AutoHotkey Foundation LLC | AutoHotkey | https://www.autohotkey.com/ | https://www.autohotkey.com/download/
PowerToys.exe | Microsoft Corporation | PowerToys | https://github.com/microsoft/PowerToys | https://github.com/microsoft/PowerToys/releases | 1
TotalCmd64.exe | Ghisler Software GmbH | Total Commander | https://www.ghisler.com/ | https://www.ghisler.com/download.htm
FreeCommander.exe | Marek Jasinski | FreeCommander XE | https://freecommander.com/ | https://freecommander.com/en/downloads/
RevoUnin.exe | VS Revo Group | Revo Uninstaller | https://www.revouninstaller.com/ | https://www.revouninstaller.com/revo-uninstaller-free-download/
Ditto.exe | Scott Brogden | Ditto | https://ditto-cp.sourceforge.io/ | https://ditto-cp.sourceforge.io/
flux.exe | f.lux Software LLC | f.lux | https://justgetflux.com/ | https://justgetflux.com/
mbam.exe | Malwarebytes | Malwarebytes | https://www.malwarebytes.com/ | https://www.malwarebytes.com/mwb-download
BleachBit.exe | BleachBit | BleachBit | https://www.bleachbit.org/ | https://www.bleachbit.org/download/windows

[Office]
WINWORD.EXE | Microsoft Corporation | Microsoft Word | https://www.microsoft.com/microsoft-365/word | https://www.microsoft.com/microsoft-365
EXCEL.EXE | Microsoft Corporation | Microsoft Excel | https://www.microsoft.com/microsoft-365/excel | https://www.microsoft.com/microsoft-365
POWERPNT.EXE | Microsoft Corporation | Microsoft PowerPoint | https://www.microsoft.com/microsoft-365/powerpoint | https://www.microsoft.com/microsoft-365
ONENOTE.EXE | Microsoft Corporation | Microsoft OneNote | https://www.onenote.com/ | https://www.onenote.com/download
MSPUB.EXE | Microsoft Corporation | Microsoft Publisher | https://www.microsoft.com/microsoft-365/publisher | https://www.microsoft.com/microsoft-365
VISIO.EXE | Microsoft Corporation | Microsoft Visio | https://www.microsoft.com/microsoft-365/visio | https://www.microsoft.com/microsoft-365/visio
WINPROJ.EXE | Microsoft Corporation | Microsoft Project | https://www.microsoft.com/microsoft-365/project | https://www.microsoft.com/microsoft-365/project
soffice.exe | The Document Foundation | LibreOffice | https://www.libreoffice.org/ | https://www.libreoffice.org/download/download/
swriter.exe scalc.exe simpress.exe sdraw.exe smath.exe sbase.exe
AcroRd32.exe | Adobe Inc. | Adobe Acrobat Reader | https://www.adobe.com/acrobat/pdf-reader.html | https://get.adobe.com/reader/ | 1
Acrobat.exe | Adobe Inc. | Adobe Acrobat | https://www.adobe.com/acrobat.html | https://www.adobe.com/acrobat.html | 1
SumatraPDF.exe | Krzysztof Kowalczyk | SumatraPDF | https://www.sumatrapdfreader.org/ | https://www.sumatrapdfreader.org/download-free-pdf-viewer
FoxitPDFReader.exe | Foxit Software Inc. | Foxit PDF Reader | https://www.foxit.com/pdf-reader/ | https://www.foxit.com/downloads/
PDFXEdit.exe | PDF-XChange Co Ltd. | PDF-XChange Editor | https://www.pdf-xchange.com/ | https://www.pdf-xchange.com/product/downloads
wps.exe | Kingsoft Office Software | WPS Office | https://www.wps.com/ | https://www.wps.com/download/
Notion.exe | Notion Labs, Inc. | Notion | https://www.notion.so/ | https://www.notion.so/desktop
Obsidian.exe | Dynalist Inc. | Obsidian | https://obsidian.md/ | https://obsidian.md/download
Evernote.exe | Evernote Corporation | Evernote | https://evernote.com/ | https://evernote.com/download
calibre.exe | Kovid Goyal | calibre | https://calibre-ebook.com/ | https://calibre-ebook.com/download_windows
GnuCash.exe | GnuCash Development Team | GnuCash | https://www.gnucash.org/ | https://www.gnucash.org/download.phtml
Scribus.exe | The Scribus Team | Scribus | https://www.scribus.net/ | https://www.scribus.net/downloads/

[Drivers]
nvcplui.exe | NVIDIA Corporation | NVIDIA Control Panel | https://www.nvidia.com/ | https://www.nvidia.com/Download/index.aspx
NVIDIA~app.exe | NVIDIA Corporation | NVIDIA app | https://www.nvidia.com/en-us/software/nvidia-app/ | https://www.nvidia.com/en-us/software/nvidia-app/
RadeonSoftware.exe | Advanced Micro Devices, Inc. | AMD Software: Adrenalin Edition | https://www.amd.com/ | https://www.amd.com/en/support
CCC.exe | Advanced Micro Devices, Inc. | Catalyst Control Center | https://www.amd.com/ | https://www.amd.com/en/support
igcc.exe | Intel Corporation | Intel Graphics Command Center | https://www.intel.com/ | https://www.intel.com/content/www/us/en/download-center/home.html
DSAClient.exe | Intel Corporation | Intel® Driver & Support Assistant | https://www.intel.com/content/www/us/en/support/intel-driver-support-assistant.html | https://www.intel.com/content/www/us/en/support/intel-driver-support-assistant.html
RtkAudioConsole.exe | Realtek Semiconductor Corp. | Realtek Audio Console | https://www.realtek.com/ | https://www.realtek.com/Download/
lghub.exe | Logitech | Logitech G HUB | https://www.logitechg.com/ | https://www.logitechg.com/innovation/g-hub.html
LogiOptions.exe | Logitech | Logitech Options | https://www.logitech.com/ | https://www.logitech.com/software/options.html
SetPoint.exe | Logitech | Logitech SetPoint | https://www.logitech.com/ | https://support.logi.com/
RazerSynapse.exe | Razer Inc. | Razer Synapse | https://www.razer.com/synapse-3 | https://www.razer.com/synapse-3
iCUE.exe | Corsair Memory, Inc. | Corsair iCUE | https://www.corsair.com/icue | https://www.corsair.com/us/en/s/downloads
SamsungMagician.exe | Samsung Electronics Co., Ltd. | Samsung Magician | https://semiconductor.samsung.com/consumer-storage/magician/ | https://semiconductor.samsung.com/consumer-storage/support/tools/
DellCommandUpdate.exe | Dell Inc. | Dell Command Update | https://www.dell.com/ | https://www.dell.com/support/
HPSmart.exe | HP Inc. | HP Smart | https://www.hp.com/ | https://support.hp.com/drivers
LenovoVantage.exe | Lenovo | Lenovo Vantage | https://www.lenovo.com/ | https://support.lenovo.com/
ArmouryCrate.exe | ASUSTeK COMPUTER INC. | Armoury Crate | https://www.asus.com/ | https://www.asus.com/support/
MSIAfterburner.exe | Micro-Star International Co., Ltd. | MSI Afterburner | https://www.msi.com/Landing/afterburner | https://www.msi.com/Landing/afterburner/graphics-cards
WacomDesktopCenter.exe | Wacom Co., Ltd. | Wacom Desktop Center | https://www.wacom.com/ | https://www.wacom.com/support/product-support/drivers

[Video]
vlc.exe | VideoLAN | VLC media player | https://www.videolan.org/ | https://www.videolan.org/vlc/
wmplayer.exe | Microsoft Corporation | Windows Media Player | https://www.microsoft.com/windows/ | https://www.microsoft.com/windows/
mpc-hc64.exe | MPC-HC Team | MPC-HC | https://github.com/clsid2/mpc-hc | https://github.com/clsid2/mpc-hc/releases
mpc-be64.exe | MPC-BE Team | MPC-BE | https://sourceforge.net/projects/mpcbe/ | https://sourceforge.net/projects/mpcbe/files/
PotPlayerMini64.exe | Kakao Corp. | PotPlayer | https://potplayer.daum.net/ | https://potplayer.daum.net/
mpv.exe | mpv developers | mpv | https://mpv.io/ | https://mpv.io/installation/
obs64.exe | OBS Project | OBS Studio | https://obsproject.com/ | https://obsproject.com/download
HandBrake.exe | The HandBrake Team | HandBrake | https://handbrake.fr/ | https://handbrake.fr/downloads.php
shotcut.exe | Meltytech, LLC | Shotcut | https://www.shotcut.org/ | https://www.shotcut.org/download/
kdenlive.exe | KDE | Kdenlive | https://kdenlive.org/ | https://kdenlive.org/download/
Resolve.exe | Blackmagic Design Pty. Ltd. | DaVinci Resolve | https://www.blackmagicdesign.com/products/davinciresolve | https://www.blackmagicdesign.com/support/
Adobe~Premiere~Pro.exe | Adobe Inc. | Adobe Premiere Pro | https://www.adobe.com/products/premiere.html | https://www.adobe.com/creativecloud.html
AfterFX.exe | Adobe Inc. | Adobe After Effects | https://www.adobe.com/products/aftereffects.html | https://www.adobe.com/creativecloud.html
Camtasia.exe | TechSmith Corporation | Camtasia | https://www.techsmith.com/camtasia/ | https://www.techsmith.com/camtasia/
avidemux.exe | Mean | Avidemux | https://avidemux.sourceforge.net/ | https://avidemux.sourceforge.net/download.html
ffmpeg.exe ffprobe.exe ffplay.exe
mkvtoolnix-gui.exe | Moritz Bunkus | MKVToolNix | https://mkvtoolnix.download/ | https://mkvtoolnix.download/downloads.html
MediaInfo.exe | MediaArea.net | MediaInfo | https://mediaarea.net/MediaInfo | https://mediaarea.net/en/MediaInfo/Download/Windows
kodi.exe | XBMC Foundation | Kodi | https://kodi.tv/ | https://kodi.tv/download/windows/
Plex.exe | Plex, Inc. | Plex | https://www.plex.tv/ | https://www.plex.tv/media-server-downloads/

[Painting]
Photoshop.exe | Adobe Inc. | Adobe Photoshop | https://www.adobe.com/products/photoshop.html | https://www.adobe.com/creativecloud.html
Illustrator.exe | Adobe Inc. | Adobe Illustrator | https://www.adobe.com/products/illustrator.html | https://www.adobe.com/creativecloud.html
InDesign.exe | Adobe Inc. | Adobe InDesign | https://www.adobe.com/products/indesign.html | https://www.adobe.com/creativecloud.html
Lightroom.exe | Adobe Inc. | Adobe Lightroom Classic | https://www.adobe.com/products/photoshop-lightroom-classic.html | https://www.adobe.com/creativecloud.html
gimp-2.10.exe | The GIMP Team | GIMP | https://www.gimp.org/ | https://www.gimp.org/downloads/
gimp-3.0.exe | The GIMP Team | GIMP 3 | https://www.gimp.org/ | https://www.gimp.org/downloads/
inkscape.exe | Inkscape Project | Inkscape | https://inkscape.org/ | https://inkscape.org/release/
krita.exe | Krita Foundation | Krita | https://krita.org/ | https://krita.org/en/download/
PaintDotNet.exe | dotPDN LLC | Paint.NET | https://www.getpaint.net/ | https://www.getpaint.net/download.html
i_view64.exe | Irfan Skiljan | IrfanView | https://www.irfanview.com/ | https://www.irfanview.com/64bit.htm
XnView.exe | XnSoft | XnView | https://www.xnview.com/ | https://www.xnview.com/en/xnview/
FSViewer.exe | FastStone Soft | FastStone Image Viewer | https://www.faststone.org/ | https://www.faststone.org/download.htm
blender.exe | Blender Foundation | Blender | https://www.blender.org/ | https://www.blender.org/download/
CorelDRW.exe | Corel Corporation | CorelDRAW | https://www.coreldraw.com/ | https://www.coreldraw.com/
Paint~Shop~Pro.exe | Corel Corporation | PaintShop Pro | https://www.paintshoppro.com/ | https://www.paintshoppro.com/
Photo.exe | Serif (Europe) Ltd | Affinity Photo | https://affinity.serif.com/photo/ | https://affinity.serif.com/
Designer.exe | Serif (Europe) Ltd | Affinity Designer | https://affinity.serif.com/designer/ | https://affinity.serif.com/
darktable.exe | darktable team | darktable | https://www.darktable.org/ | https://www.darktable.org/install/
rawtherapee.exe | RawTherapee | RawTherapee | https://rawtherapee.com/ | https://rawtherapee.com/downloads/
SketchUp.exe | Trimble Inc. | SketchUp | https://www.sketchup.com/ | https://www.sketchup.com/download/all

[Database]
ssms.exe | Microsoft Corporation | SQL Server Management Studio | https://learn.microsoft.com/sql/ssms/ | https://learn.microsoft.com/sql/ssms/download-sql-server-management-studio-ssms
MSACCESS.EXE | Microsoft Corporation | Microsoft Access | https://www.microsoft.com/microsoft-365/access | https://www.microsoft.com/microsoft-365
MySQLWorkbench.exe | Oracle Corporation | MySQL Workbench | https://www.mysql.com/products/workbench/ | https://dev.mysql.com/downloads/workbench/
pgAdmin4.exe | The pgAdmin Development Team | pgAdmin 4 | https://www.pgadmin.org/ | https://www.pgadmin.org/download/
dbeaver.exe | DBeaver Corp | DBeaver | https://dbeaver.io/ | https://dbeaver.io/download/
HeidiSQL.exe | Ansgar Becker | HeidiSQL | https://www.heidisql.com/ | https://www.heidisql.com/download.php
DB~Browser~for~SQLite.exe | DB Browser for SQLite Team | DB Browser for SQLite | https://sqlitebrowser.org/ | https://sqlitebrowser.org/dl/
MongoDBCompass.exe | MongoDB Inc. | MongoDB Compass | https://www.mongodb.com/products/compass | https://www.mongodb.com/try/download/compass
DataGrip64.exe | JetBrains s.r.o. | DataGrip | https://www.jetbrains.com/datagrip/ | https://www.jetbrains.com/datagrip/download/
toad.exe | Quest Software Inc. | Toad for Oracle | https://www.quest.com/toad/ | https://www.quest.com/toad/
sqldeveloper64W.exe | Oracle Corporation | Oracle SQL Developer | https://www.oracle.com/database/sqldeveloper/ | https://www.oracle.com/database/sqldeveloper/technologies/download/
navicat.exe | PremiumSoft CyberTech Ltd. | Navicat | https://www.navicat.com/ | https://www.navicat.com/en/download/navicat-premium
FileMaker~Pro.exe | Claris International Inc. | FileMaker Pro | https://www.claris.com/filemaker/ | https://www.claris.com/trial/

[Reports]
PBIDesktop.exe | Microsoft Corporation | Power BI Desktop | https://powerbi.microsoft.com/ | https://powerbi.microsoft.com/desktop/
tableau.exe | Tableau Software, LLC | Tableau Desktop | https://www.tableau.com/ | https://www.tableau.com/products/desktop/download
crw32.exe | SAP SE | Crystal Reports | https://www.sap.com/products/technology-platform/crystal-reports.html | https://www.sap.com/products/technology-platform/crystal-reports.html
ReportBuilder.exe | Microsoft Corporation | Microsoft Report Builder | https://learn.microsoft.com/sql/reporting-services/ | https://www.microsoft.com/download/details.aspx?id=53613
Qv.exe | QlikTech International AB | QlikView | https://www.qlik.com/ | https://www.qlik.com/us/trial/qlik-sense-business
RStudio.exe | Posit Software, PBC | RStudio | https://posit.co/products/open-source/rstudio/ | https://posit.co/download/rstudio-desktop/
Jaspersoft~Studio.exe | TIBCO Software Inc. | Jaspersoft Studio | https://community.jaspersoft.com/ | https://community.jaspersoft.com/download-jaspersoft/
stats.exe | IBM Corp. | IBM SPSS Statistics | https://www.ibm.com/products/spss-statistics | https://www.ibm.com/products/spss-statistics
Mtb.exe | Minitab, LLC | Minitab Statistical Software | https://www.minitab.com/ | https://www.minitab.com/products/minitab/free-trial/
gretl.exe | gretl team | gretl | https://gretl.sourceforge.net/ | https://gretl.sourceforge.net/win32/

[Audio]
audacity.exe | Audacity Team | Audacity | https://www.audacityteam.org/ | https://www.audacityteam.org/download/
foobar2000.exe | Peter Pawlowski | foobar2000 | https://www.foobar2000.org/ | https://www.foobar2000.org/download
winamp.exe | Nullsoft, Inc. | Winamp | https://www.winamp.com/ | https://www.winamp.com/
AIMP.exe | Artem Izmaylov | AIMP | https://www.aimp.ru/ | https://www.aimp.ru/?do=download
MusicBee.exe | Steven Mayall | MusicBee | https://getmusicbee.com/ | https://getmusicbee.com/downloads/
iTunes.exe | Apple Inc. | iTunes | https://www.apple.com/itunes/ | https://www.apple.com/itunes/ | 1
Spotify.exe | Spotify AB | Spotify | https://www.spotify.com/ | https://www.spotify.com/download/windows/ | 1
reaper.exe | Cockos Incorporated | REAPER | https://www.reaper.fm/ | https://www.reaper.fm/download.php
FL64.exe | Image-Line Software | FL Studio | https://www.image-line.com/ | https://www.image-line.com/fl-studio-download/
Cubase13.exe | Steinberg Media Technologies GmbH | Cubase | https://www.steinberg.net/cubase/ | https://www.steinberg.net/cubase/
MuseScore4.exe | MuseScore BVBA | MuseScore Studio | https://musescore.org/ | https://musescore.org/download
mp3tag.exe | Florian Heidenreich | Mp3tag | https://www.mp3tag.de/en/ | https://www.mp3tag.de/en/download.html
EAC.exe | Andre Wiethoff | Exact Audio Copy | https://www.exactaudiocopy.de/ | https://www.exactaudiocopy.de/en/index.php/resources/download/
VoiceMeeter.exe | VB-Audio Software | Voicemeeter | https://vb-audio.com/Voicemeeter/ | https://vb-audio.com/Voicemeeter/
Editor.exe | Jonas Thedering | Equalizer APO | https://sourceforge.net/projects/equalizerapo/ | https://sourceforge.net/projects/equalizerapo/files/

[Programming]
devenv.exe | Microsoft Corporation | Microsoft Visual Studio | https://visualstudio.microsoft.com/ | https://visualstudio.microsoft.com/downloads/
Code.exe | Microsoft Corporation | Visual Studio Code | https://code.visualstudio.com/ | https://code.visualstudio.com/download | 1
Code~-~Insiders.exe | Microsoft Corporation | Visual Studio Code - Insiders | https://code.visualstudio.com/insiders/ | https://code.visualstudio.com/insiders/ | 1
notepad++.exe | Notepad++ Team | Notepad++ | https://notepad-plus-plus.org/ | https://notepad-plus-plus.org/downloads/
sublime_text.exe | Sublime HQ Pty Ltd | Sublime Text | https://www.sublimetext.com/ | https://www.sublimetext.com/download
idea64.exe | JetBrains s.r.o. | IntelliJ IDEA | https://www.jetbrains.com/idea/ | https://www.jetbrains.com/idea/download/
pycharm64.exe | JetBrains s.r.o. | PyCharm | https://www.jetbrains.com/pycharm/ | https://www.jetbrains.com/pycharm/download/
clion64.exe | JetBrains s.r.o. | CLion | https://www.jetbrains.com/clion/ | https://www.jetbrains.com/clion/download/
rider64.exe | JetBrains s.r.o. | JetBrains Rider | https://www.jetbrains.com/rider/ | https://www.jetbrains.com/rider/download/
webstorm64.exe | JetBrains s.r.o. | WebStorm | https://www.jetbrains.com/webstorm/ | https://www.jetbrains.com/webstorm/download/
phpstorm64.exe | JetBrains s.r.o. | PhpStorm | https://www.jetbrains.com/phpstorm/ | https://www.jetbrains.com/phpstorm/download/
goland64.exe | JetBrains s.r.o. | GoLand | https://www.jetbrains.com/go/ | https://www.jetbrains.com/go/download/
jetbrains-toolbox.exe | JetBrains s.r.o. | JetBrains Toolbox | https://www.jetbrains.com/toolbox-app/ | https://www.jetbrains.com/toolbox-app/
eclipse.exe | Eclipse Foundation | Eclipse IDE | https://www.eclipse.org/ | https://www.eclipse.org/downloads/
netbeans64.exe | Apache Software Foundation | Apache NetBeans | https://netbeans.apache.org/ | https://netbeans.apache.org/front/main/download/
studio64.exe | Google LLC | Android Studio | https://developer.android.com/studio | https://developer.android.com/studio
codeblocks.exe | The Code::Blocks Team | Code::Blocks | https://www.codeblocks.org/ | https://www.codeblocks.org/downloads/
qtcreator.exe | The Qt Company Ltd. | Qt Creator | https://www.qt.io/product/development-tools | https://www.qt.io/download
GitHubDesktop.exe | GitHub, Inc. | GitHub Desktop | https://desktop.github.com/ | https://desktop.github.com/ | 1
SourceTree.exe | Atlassian | Sourcetree | https://www.sourcetreeapp.com/ | https://www.sourcetreeapp.com/
TortoiseGitProc.exe | TortoiseGit | TortoiseGit | https://tortoisegit.org/ | https://tortoisegit.org/download/
TortoiseProc.exe | TortoiseSVN | TortoiseSVN | https://tortoisesvn.net/ | https://tortoisesvn.net/downloads.html
WinMergeU.exe | WinMerge Team | WinMerge | https://winmerge.org/ | https://winmerge.org/downloads/
BCompare.exe | Scooter Software | Beyond Compare | https://www.scootersoftware.com/ | https://www.scootersoftware.com/download
Docker~Desktop.exe | Docker Inc. | Docker Desktop | https://www.docker.com/products/docker-desktop/ | https://www.docker.com/products/docker-desktop/
VirtualBox.exe | Oracle Corporation | Oracle VM VirtualBox | https://www.virtualbox.org/ | https://www.virtualbox.org/wiki/Downloads
vmware.exe | Broadcom Inc. | VMware Workstation | https://www.vmware.com/products/desktop-hypervisor.html | https://support.broadcom.com/
python.exe | Python Software Foundation | Python | https://www.python.org/ | https://www.python.org/downloads/windows/
node.exe | Node.js | Node.js | https://nodejs.org/ | https://nodejs.org/en/download
git-bash.exe | The Git Development Community | Git for Windows | https://gitforwindows.org/ | https://git-scm.com/download/win
HxD.exe | Mael Horz | HxD Hex Editor | https://mh-nexus.de/en/hxd/ | https://mh-nexus.de/en/downloads.php?product=HxD20
x64dbg.exe | x64dbg | x64dbg | https://x64dbg.com/ | https://github.com/x64dbg/x64dbg/releases
windbg.exe | Microsoft Corporation | WinDbg | https://learn.microsoft.com/windows-hardware/drivers/debugger/ | https://learn.microsoft.com/windows-hardware/drivers/debugger/
Unity.exe | Unity Technologies ApS | Unity Editor | https://unity.com/ | https://unity.com/download
UnrealEditor.exe | Epic Games, Inc. | Unreal Editor | https://www.unrealengine.com/ | https://www.unrealengine.com/download
godot_v4.exe | Godot Engine contributors | Godot Engine | https://godotengine.org/ | https://godotengine.org/download/windows/
Arduino~IDE.exe | Arduino | Arduino IDE | https://www.arduino.cc/ | https://www.arduino.cc/en/software

[Games]
steam.exe | Valve Corporation | Steam | https://store.steampowered.com/ | https://store.steampowered.com/about/ | 1
EpicGamesLauncher.exe | Epic Games, Inc. | Epic Games Launcher | https://store.epicgames.com/ | https://store.epicgames.com/download
GalaxyClient.exe | GOG sp. z o.o. | GOG GALAXY | https://www.gog.com/galaxy | https://www.gog.com/galaxy
Battle.net.exe | Blizzard Entertainment, Inc. | Battle.net | https://www.blizzard.com/ | https://download.battle.net/
EADesktop.exe | Electronic Arts | EA app | https://www.ea.com/ea-app | https://www.ea.com/ea-app
Origin.exe | Electronic Arts | Origin | https://www.origin.com/ | https://www.ea.com/ea-app
UbisoftConnect.exe | Ubisoft Entertainment | Ubisoft Connect | https://ubisoftconnect.com/ | https://ubisoftconnect.com/
LauncherRockstar.exe | Rockstar Games | Rockstar Games Launcher | https://www.rockstargames.com/ | https://socialclub.rockstargames.com/rockstar-games-launcher
MinecraftLauncher.exe | Mojang Studios | Minecraft Launcher | https://www.minecraft.net/ | https://www.minecraft.net/download
RiotClientServices.exe | Riot Games, Inc. | Riot Client | https://www.riotgames.com/ | https://www.riotgames.com/
LeagueClient.exe | Riot Games, Inc. | League of Legends | https://www.leagueoflegends.com/ | https://signup.leagueoflegends.com/
dota2.exe | Valve Corporation | Dota 2 | https://www.dota2.com/ | https://store.steampowered.com/app/570/
cs2.exe | Valve Corporation | Counter-Strike 2 | https://www.counter-strike.net/ | https://store.steampowered.com/app/730/
hl2.exe | Valve Corporation | Half-Life 2 | https://www.half-life.com/ | https://store.steampowered.com/app/220/
Wow.exe | Blizzard Entertainment, Inc. | World of Warcraft | https://worldofwarcraft.blizzard.com/ | https://download.battle.net/
Overwatch.exe | Blizzard Entertainment, Inc. | Overwatch 2 | https://overwatch.blizzard.com/ | https://download.battle.net/
Diablo~IV.exe | Blizzard Entertainment, Inc. | Diablo IV | https://diablo4.blizzard.com/ | https://download.battle.net/
FortniteLauncher.exe | Epic Games, Inc. | Fortnite | https://www.fortnite.com/ | https://store.epicgames.com/p/fortnite
GTA5.exe | Rockstar Games | Grand Theft Auto V | https://www.rockstargames.com/gta-v | https://www.rockstargames.com/gta-v
witcher3.exe | CD PROJEKT RED | The Witcher 3: Wild Hunt | https://www.thewitcher.com/ | https://www.gog.com/game/the_witcher_3_wild_hunt
Cyberpunk2077.exe | CD PROJEKT RED | Cyberpunk 2077 | https://www.cyberpunk.net/ | https://www.gog.com/game/cyberpunk_2077
SkyrimSE.exe | Bethesda Softworks | The Elder Scrolls V: Skyrim Special Edition | https://elderscrolls.bethesda.net/ | https://store.steampowered.com/app/489830/
Factorio.exe | Wube Software LTD. | Factorio | https://www.factorio.com/ | https://www.factorio.com/download
Terraria.exe | Re-Logic | Terraria | https://terraria.org/ | https://store.steampowered.com/app/105600/
Stardew~Valley.exe | ConcernedApe | Stardew Valley | https://www.stardewvalley.net/ | https://store.steampowered.com/app/413150/
RocketLeague.exe | Psyonix LLC | Rocket League | https://www.rocketleague.com/ | https://store.epicgames.com/p/rocket-league
Among~Us.exe | Innersloth LLC | Among Us | https://www.innersloth.com/games/among-us/ | https://store.steampowered.com/app/945360/
winmine.exe sol.exe freecell.exe spider.exe mshearts.exe pinball.exe
dosbox.exe | DOSBox Team | DOSBox | https://www.dosbox.com/ | https://www.dosbox.com/download.php?main=1
scummvm.exe | ScummVM Team | ScummVM | https://www.scummvm.org/ | https://www.scummvm.org/downloads/
retroarch.exe | Libretro | RetroArch | https://www.retroarch.com/ | https://www.retroarch.com/?page=platforms
"""
