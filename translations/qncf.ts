<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>DownloadTransfer</name>
    <message>
        <source>NOTHING TO DOWNLOAD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NOTHING TO DOWNLOAD - nothing sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM PORT LOST - Try TRANSFER CONFIGURATION Again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TypedList</name>
    <message>
        <source>This list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be empty, so it stays %2.</source>
        <extracomment>a list&apos;s caption, then the value it keeps</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not in the list, so it stays %3.</source>
        <extracomment>a list&apos;s caption, the text typed into it, then the value it keeps</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Welcome1</name>
    <message>
        <source>Download a saved configuration file to a QN4000 or QN6000 freestanding unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>He&amp;lp (F1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the manual</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>about</name>
    <message>
        <source>QNCF - FreeStanding Configuration Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configures the Quintrel QN4000 and QN6000 freestanding protocol converters: network, serial and protocol parameters, configuration files, download and upload over a COM port, the off-line manager and DH+ diagnostics.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <comment>%1 is the version</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>configfile</name>
    <message>
        <source>%1 holds the byte %2, which a configuration file cannot store.</source>
        <extracomment>%1 is the record field&apos;s name, %2 a byte value</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The configuration was not saved to %1: %2</source>
        <extracomment>%1 is the file, %2 the reason</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a %2 configuration: it is far too large for a configuration file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a %2 configuration: it holds no values.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a %2 configuration: line %3 holds %4, which does not fit its field (0 to 255).</source>
        <extracomment>%3 is a line number of the file, %4 the number found there</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a %2 configuration: line %3 holds &quot;%4&quot; where a number from 0 to 255 belongs.</source>
        <extracomment>%3 is a line number of the file, %4 the text found there</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a %2 configuration: the file ends before all of its values (was it saved under another model?).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a %2 configuration: line %3 holds a value that is neither a quoted text nor a number.</source>
        <extracomment>%3 is a line number of the file</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>configfiles</name>
    <message>
        <source>Choose the Quintrel model first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>!Error! No Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>!Error! Configuration Not Saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>!Error! Configuration File Not Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds values that these screens cannot show. They were not taken: the configuration holds what the screens show.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration File Values Not Taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration File of Another Model?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a %2 configuration.</source>
        <extracomment>%1 is the file, %2 the model code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open it anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not in the Configuration File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read as a configuration: it fits the layout of no model.</source>
        <extracomment>%1 is the file</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>configmessage</name>
    <message>
        <source>No converter model has been chosen (ConfigLength %1 is not a known message layout).</source>
        <extracomment>ConfigLength is the name of a record field; %1 its value</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>download</name>
    <message>
        <source>Download a Saved Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a saved configuration file for the model selected; it is loaded into the editor and sent to the Quintrel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;VIEW Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit the configuration that was downloaded</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>fileomissions</name>
    <message>
        <source>%1 was saved without the Toshiba drive settings: a configuration file has no place for them. Opened again, or downloaded from the file, it gives the Toshiba settings the program holds at that time (the presets, unless they were changed in that run).</source>
        <extracomment>%1 is the file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was saved without the Quintrel&apos;s Toshiba drive settings: a configuration file has no place for them. The configuration now shown, like a download from the file, has the Toshiba settings this program holds (the presets, unless they were changed in this run), not necessarily the unit&apos;s.</source>
        <extracomment>%1 is the file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds no Toshiba drive settings: a configuration file has no place for them. The Quintrel gets the Toshiba settings this program holds (the presets, unless they were changed in this run).</source>
        <extracomment>%1 is the file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was saved without the PLC file number (now %2): a configuration file has no place for it. Opened again, or downloaded from the file, it gives the file number the program holds at that time.</source>
        <extracomment>%1 is the file, %2 the PLC file number</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was saved without the Quintrel&apos;s PLC file number: a configuration file has no place for it. The configuration now shown, like a download from the file, has the file number this program holds (%2), not necessarily the unit&apos;s.</source>
        <extracomment>%1 is the file, %2 the PLC file number</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds no PLC file number: a configuration file has no place for it. The Quintrel gets the file number this program holds, %2.</source>
        <extracomment>%1 is the file, %2 the PLC file number</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>layoutcheck</name>
    <message>
        <source>a quoted text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>one value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>two values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file holds %1 values; a %2 configuration has %3: it was probably saved for another model.</source>
        <extracomment>%1 and %3 are numbers of values, %2 the model code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 of this file holds %2 where a %3 configuration has %4: it was probably saved for another model.</source>
        <extracomment>%1 is a line number; %2 and %4 say what the line holds (&quot;a number&quot;, &quot;two values&quot;); %3 is the model code</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It fits the layout of no model.</source>
        <extracomment>%1 lists model codes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It fits the layout of %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>loadedvalues</name>
    <message>
        <source>Line %1, %2: %3 was not taken; %4 is used instead.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>localfile</name>
    <message>
        <source>the file</source>
        <extracomment>a file without a name, as it stands in the messages for %1</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file name %1 holds characters that are not valid text, so it cannot be used as it stands. Rename the file, or choose another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be opened: there is no such file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be opened: it is not a file (a folder, a device or a pipe).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read: at %2 bytes it is far too large for a configuration file.</source>
        <extracomment>%2 is the file&apos;s size in bytes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <extracomment>%2 is the system&apos;s reason</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <extracomment>%2 is the system&apos;s reason</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be read: it is far too large for a configuration file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <extracomment>%2 is the reason: the system&apos;s own, or &quot;it is not a file (...), so it is left as it is.&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a file (a folder, a device or a pipe), so it is left as it is.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Configures Quintrel freestanding converters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log every byte each way on the serial port to FILE.</source>
        <extracomment>FILE is the option&apos;s value, as --help shows it</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A configuration file (.QNC) to open, once its model is chosen.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main4000</name>
    <message>
        <source>QNCF &amp;Manual</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>manual</name>
    <message>
        <source>QNCF Manual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The manual is not installed: no manual folder was found next to the program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No browser could be started to show the manual. It is the file %1.</source>
        <extracomment>%1 is the manual&apos;s file</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>model_freestand</name>
    <message>
        <source>Open %1 as which model?</source>
        <extracomment>%1 is the file&apos;s name, which the user opened from the desktop</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file fits the models in bold: pick the one it was saved for.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>numberbox</name>
    <message>
        <source>A whole number from %1 to %2</source>
        <extracomment>a number box&apos;s tool tip: the lowest and the highest number it takes</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>portinfo</name>
    <message>
        <source>serial number %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is in use by %2: close that program, then try again.</source>
        <extracomment>%1 is the device, %2 the programs that hold it, each as &quot;name (pid n)&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is locked by %2, which names pid %3.</source>
        <extracomment>%2 is the lock file, %3 the process id written in it</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 belongs to the group &quot;%2&quot;: add yourself to that group (e.g. `sudo usermod -aG %2 $USER`), then log in again.</source>
        <extracomment>%2 is the device&apos;s group; the command stays as it is</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 may be opened by its owner only: have it given to the group &quot;dialout&quot; (a udev rule), join that group, then log in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not connected, or it has another name now. %2</source>
        <extracomment>%2 is the list of the serial ports there are, or the sentence that there are none</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No serial ports were found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial ports found: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has a stale lock file %2 (pid %3 no longer runs): remove it.</source>
        <extracomment>%2 is the lock file, %3 the process id written in it</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is in use by %2 (pid %3), says its lock file %4.</source>
        <extracomment>%2 is a program&apos;s name, %3 its process id, %4 the lock file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is in use by another program: close it, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a serial port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check that %1 is the converter&apos;s serial port.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>porttrace</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <extracomment>%2 is the system&apos;s reason</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>printservice</name>
    <message>
        <source>The printer could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No printer: save the summary as a PDF file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 copies)</source>
        <extracomment>%1 is where the page went, %2 how many copies</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rio_bt</name>
    <message>
        <source>Rack %1, group %2, module %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>summaryprint</name>
    <message>
        <source>!Error! Summary Not Printed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The summary went to %1.</source>
        <extracomment>%1 is a printer&apos;s name or a file&apos;s path</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summary Printed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>toshiba_Super2E</name>
    <message>
        <source>A hexadecimal word, 0000 to FFFF</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>transfers</name>
    <message>
        <source>The serial port stopped working and was closed.
%1</source>
        <extracomment>%1 is the port&apos;s error line, &quot;Error (code): operation - reason&quot;</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM PORT LOST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Quintrel held the line (XOFF): its acknowledge could not be sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ACKNOWLEDGE NOT SENT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM PORT not opened - nothing sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled - nothing sent</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>upload</name>
    <message>
        <source>Upload a Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>!Error! Configuration Not Saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>!Error!Configuration File Not Written! Upload Again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>!Error!Uploaded File Cannot Be Read! Upload Again!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>uploadfile</name>
    <message>
        <source>The reply from the Quintrel is too short to hold a %1 configuration.</source>
        <extracomment>%1 is the model code</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>wiring</name>
    <message>
        <source>RS-422: four wires, one pair each way</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS-485: two wires, one pair both ways</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
