# Command-line runs whose complete output is kept in expected/<name>.txt. Each case runs with
# the locations of data/locations.lst and a fixed clock; files it writes into $OUT are appended
# to its output (text as it stands, binary files as a checksum).
# Paths: $SRC the source tree, $D this folder's data, $OUT the case's output folder.
allcols=(--set Sunelevationangle1=1 --set Sunazimuthangle1=1 --set SVFcos1=1 --set LTF1=1
         --set Albedo1=1 --set Bowen1=1 --set Gtat1=1 --set Stat1=1 --set Dtat1=1 --set A1=1
         --set E1=1 --set To1=1 --set Ta1=1 --set Vp1=1 --set Rh1=1 --set V1=1 --set N1=1
         --set Tmrt1=1 --set Latitude1=1 --set Longitude1=1 --set Altitude1=1 --set Timezone1=1
         --set Enumtag1=1)

golden readme_noon --set EditDat=21.6.2026 --set EditZeit=12:00
golden readme_two_rows --location Freiburg --set EditTa=32 --set EditRh=40 --set EditZeit=14:00 \
  --new --set EditZeit=16:00 --add
golden readme_german --lang de --set EditZeit=10:00 "${allcols[@]}"
golden readme_columns --set Sunelevationangle1=1 --set Sunazimuthangle1=1 --set PmvChk=0 --set SetChk=0
golden readme_datafile --location Freiburg --datafile "$SRC/examples/summer_days.txt" \
  --columns date,time,Ta,RH,v,G --set ChkUeberschriften=1 "${allcols[@]}" --output "summer.txt"
golden readme_daily --location Freiburg --mode daily
golden readme_polar --mode polar --set EditDat=21.6.2026 --set EditZeit=15:00 --save "sun.svg"
golden readme_shadows --obstacles "$SRC/examples/courtyard.obs" --mode shadows --set EditZeit=10:00 \
  --new --set ZoomInBtn=1 --set ZoomInBtn=1 --save "shadows.svg"
golden german_shadows --lang de --obstacles "$SRC/examples/courtyard.obs" --mode shadows \
  --set EditZeit=10:00 --new --save "schatten.svg"
golden readme_ring --horizon "$SRC/tests/data/ring45.bmp" --set EditZeit=7:00 "${allcols[@]}"
golden readme_valley --location Freiburg --set EditDat=21.6.2026 --set EditZeit=7:00 \
  --set EditRast=50 --set EditX0=1000 --set EditY0=1000 --set EditZ0=102 \
  --topography "$SRC/examples/valley.txt" "${allcols[@]}" --fisheye "valley.bmp"
golden courtyard_rows --obstacles "$SRC/examples/courtyard.obs" "${allcols[@]}" --set SDtat1=1 \
  --set EditDat=21.6.2026 --set EditZeit=9:00 --new --set EditZeit=12:00 --add \
  --set EditZeit=15:00 --add --set EditZeit=18:00 --add --fisheye "courtyard.bmp"

# one place, many persons and weathers, with the PET and mPET details in files
person=(--set EditDat=21.6.2026 --set EditZeit=13:00 --set EditTa=30 --set EditRh=50 --set EditWG=1.5
        --set PETMEMI1=1 --set mPETYCC1=1 --output person.txt)
golden person_female "${allcols[@]}" "${person[@]}" --set ComboSex=f --set EditGr=1.62 --set EditGew=58 \
  --set EditA=28
golden person_sitting "${allcols[@]}" "${person[@]}" --set ComboPos=sitting --set EditAct=60 --set EditIcl=0.5
golden person_active "${allcols[@]}" "${person[@]}" --set EditA=75 --set EditGew=95 --set EditAct=180
golden person_clothing "${allcols[@]}" "${person[@]}" --set AutoCloChK=0 --set EditIcl=1.2
golden weathers "${allcols[@]}" --set PETMEMI1=1 --set mPETYCC1=1 --output "weathers.txt" \
  --set EditDat=15.1.2026 --set EditZeit=8:00 --set EditTa=-15 --set EditRh=80 --set EditWG=6 --set EditN=2 --new \
  --set EditZeit=12:00 --set EditTa=-2 --set EditN=8 --add \
  --set EditDat=21.6.2026 --set EditZeit=14:00 --set EditTa=38 --set EditRh=20 --set EditWG=0.5 --set EditN=0 --add \
  --set EditTa=26 --set EditRh=90 --set EditWG=3 --set EditN=5 --add \
  --set EditG=650 --add --set EditG= --set EditTs=48 --add --set EditTs= --set EditTmrt=60 --add \
  --set EditTmrt= --set EditZeit=23:00 --add --set EditDat=21.12.2026 --set EditZeit=12:30 \
  --set EditTa=0 --set EditRh=80 --set EditWG=1 --set EditN=0 --add
golden places "${allcols[@]}" --set EditDat=1.3.2026 --set EditZeit=11:00 --location Sydney --new \
  --location Dubai --new --location Oulu --set EditDat=21.6.2026 --set EditZeit=23:30 --new \
  --location "High camp" --set EditZeit=10:00 --new --location "New York" --new
golden presettings "${allcols[@]}" --set EditDat=21.6.2026 --set EditZeit=11:00 \
  --set EditTrb=5 --set EditAlbedo=0.4 --set EditBowen=0.5 --set EditAlbHum=0.2 --new \
  --set EditDGratio=0.6 --set EditG=500 --add --set RedGChk=1 --add --set EditFoglimit=60 \
  --set EditG= --set EditRh=70 --add
golden varied_datafile "${allcols[@]}" --set SDtat1=1 --location Freiburg --datafile "$D/varied.txt" \
  --columns tag,date,time,Ta,VP,v,N,Ts,clo,act --set PETMEMI1=1 --set mPETYCC1=1 \
  --output "varied_out.txt"
golden presets_datafile "${allcols[@]}" --set SDtat1=1 --location Freiburg --datafile "$D/presets.txt" \
  --columns date,time,Ta,RH,v,LTF,albedo,bowen,DG,G,horizon
golden daily_datafile --location Freiburg --mode daily --datafile "$SRC/examples/summer_days.txt" \
  --columns date,time,Ta,RH,v,G --set ChkUeberschriften=1
golden measured_datafile "${allcols[@]}" --set SDtat1=1 --location Freiburg --datafile "$D/measured.txt" \
  --columns doy,time,Ta,RH,v,G --set EditDat=1.1.2025 --set PETMEMI1=1 --output measured_out.txt
