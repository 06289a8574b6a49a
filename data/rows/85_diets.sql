-- The diet catalogue: therapeutic and life-stage diets for dogs and cats, each
-- named by its purpose and its species ("Canine" or "Feline": the diet list
-- of a species is the diets whose name holds the word). No diet here is a
-- product of a maker: the figures are representative of diets of each kind,
-- within the ranges of the clinical-nutrition references, and a practice adds
-- the products it actually uses as its own diets (Add Diet in the Diets
-- window), which are kept apart from these rows.
--
-- [Category]: the codes of the diet's conditions and of the nodes above them
-- (see the Category Codes Diets rows), as ";c1;c2;".
-- [ME Dry], [ME Can]: KCal per 100 gm of the dry and the canned form, 0 where
-- the diet has no such form. [KCal per cup dry]: one cup of the dry form (about
-- 85 to 96 gm). [Form Dry]: the bag in kg; [Form Can]: the can in gm (85 or
-- 156 gm for cats, 370 or 400 gm for dogs).

INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Renal Support',
        ';HEP;HEPGN;REN;RENE;RENL;URO;URA;URAP;',
        'Chronic kidney disease from about stage 2 on: restricted phosphorus and moderate, high-quality protein slow the disease and ease uraemic signs. Also suits dogs prone to urate stones and dogs with liver disease that need less protein.',
        'Growing puppies, pregnant and lactating bitches. Dogs with low blood albumin or pancreatitis unless the vet says otherwise; it is high in fat.',
        395, 120, 375, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Early Renal Support Dry',
        ';CAR;CARHT;REN;RENE;',
        'Early kidney disease (stage 1 and 2) and older dogs with rising kidney values: moderate phosphorus and protein with added omega-3 fatty acids; lower salt helps in high blood pressure.',
        'Growing puppies, pregnant and lactating bitches. Late kidney disease, which needs a stricter diet.',
        370, 0, 352, 4, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Hepatic Support',
        ';HEP;HEPCU;HEPGN;HEPAS;',
        'Chronic liver disease, copper storage disease and liver disease with fluid in the belly: low copper, moderate high-quality protein, added zinc and antioxidants, low salt.',
        'Growing puppies, pregnant and lactating bitches. Dogs with high blood fats or a history of pancreatitis.',
        385, 115, 362, 6, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Cardiac Support',
        ';CAR;CARHT;CARF2;CARF3;GEN;GENAO;HEP;HEPAS;',
        'Heart failure with signs (stage II and III), high blood pressure and fluid build-up: strongly restricted sodium, added taurine, L-carnitine and omega-3 fatty acids.',
        'Growing puppies, pregnant and lactating bitches. Dogs on a low-salt diet with low blood sodium, and dogs with pancreatitis.',
        380, 110, 365, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Early Cardiac Dry',
        ';CAR;CARHT;CARF1;',
        'Early heart disease before signs appear and high blood pressure: moderately reduced sodium with added taurine and L-carnitine.',
        'Growing puppies, pregnant and lactating bitches. Advanced heart failure, which needs a stricter salt limit.',
        360, 0, 338, 4, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Gastrointestinal Low Fat',
        ';BLD;BLDHL;BLDLY;GI;PAN;PANHL;PANNH;DIA;DIAGN;DIAMA;GIVOM;',
        'Pancreatitis, high blood fats, lymphangiectasia and fat-losing bowel disease, fat maldigestion: low fat and highly digestible, with added omega-3 fatty acids.',
        'Growing puppies, pregnant and lactating bitches. Underweight dogs that need a high energy intake.',
        345, 85, 290, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Gastrointestinal Support',
        ';GI;COL;COLOT;DIA;DIAEPI;DIAGN;DIAMA;DIAMN;GIGDV;GIEP;FLA;FLAGN;GIVOM;ING;INGRG;',
        'Acute and chronic diarrhoea and vomiting, pancreatic insufficiency, malabsorption, after gastric dilatation and after a worm burden: highly digestible, energy-dense, with prebiotic fibre. The canned form suits dogs that regurgitate.',
        'Pancreatitis and high blood fats, for which a low-fat diet is better. Food-responsive disease, which needs a hydrolysed or novel-protein diet.',
        390, 105, 370, 8, 400);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine High Fibre',
        ';END;ENDCU;DM;DMNW;DMOB;GI;COL;COLFR;GICON;DIA;DIAFR;FLA;FLAFR;ING;INGCP;',
        'Fibre-responsive colitis and large-bowel diarrhoea, constipation, flatulence helped by fibre, diabetes in dogs of normal weight or overweight, Cushing''s disease, coprophagia.',
        'Growing puppies, pregnant and lactating bitches. Underweight dogs, and dogs with small-bowel malabsorption or an obstructive constipation.',
        305, 78, 271, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Weight Reduction',
        ';BLD;BLDHL;END;DM;DMOB;GEN;OBS;OBSWR;',
        'Weight loss in overweight and obese dogs, also diabetic ones, and dogs with high blood fats: low energy, high fibre and protein, added L-carnitine, so the dog feels full on fewer calories.',
        'Growing puppies, pregnant and lactating bitches, dogs that are ill or underweight. Not for long feeding once the target weight is reached.',
        300, 72, 255, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Weight Control',
        ';END;ENDCU;DM;DMNW;GEN;OBS;OBSPR;',
        'Keeping the weight off after a weight-loss programme, dogs that gain weight easily (neutered, inactive), Cushing''s disease: moderately reduced energy and fat.',
        'Growing puppies, pregnant and lactating bitches, working dogs with a high energy need.',
        330, 90, 300, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Diabetes Support',
        ';END;DM;DMNW;DMOB;ENDHG;',
        'Diabetes mellitus: moderate fibre and complex carbohydrates smooth blood glucose after meals; hypoglycaemia from an insulin-producing tumour when fed as small, frequent meals.',
        'Growing puppies, pregnant and lactating bitches. Thin diabetic dogs that cannot keep their weight on it.',
        325, 85, 299, 4, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Urinary Struvite Dissolution',
        ';URO;STR;STRD;STRP;',
        'Dissolving struvite stones and sludge, then preventing their return: makes the urine acid and dilute, with less magnesium and phosphorus. Urinary infection must be treated at the same time.',
        'Growing puppies, pregnant and lactating bitches, heart failure, high blood pressure, kidney failure and dogs with acidosis. Not for longer than six months without a check.',
        395, 105, 379, 4, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Urinary Oxalate Prevention',
        ';URO;OXA;OXAP;',
        'Preventing calcium oxalate stones after they have been removed: neutral to alkaline urine, reduced calcium and oxalate, added citrate, more water through the urine.',
        'Growing puppies, pregnant and lactating bitches. Struvite stones, which need an acidifying diet.',
        390, 110, 370, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Urinary Urate and Cystine',
        ';URO;CYS;CYSD;CYSP;URA;URAD;URAP;',
        'Urate stones (including in Dalmatians and dogs with a liver shunt) and cystine stones: low purine and restricted protein, alkaline urine. Used with medication to dissolve, alone to prevent.',
        'Growing puppies, pregnant and lactating bitches. Dogs with low blood albumin or pancreatitis.',
        400, 125, 380, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Urinary Weight Management',
        ';GEN;OBS;OBSWR;URO;STR;STRP;STRPO;',
        'Overweight dogs with struvite stones or a history of them: controlled energy with urine acidification and less magnesium and phosphorus.',
        'Growing puppies, pregnant and lactating bitches, dogs with kidney failure or heart failure. Calcium oxalate stones.',
        320, 0, 282, 8, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Urinary Sensitivity Dry',
        ';SEN;SENSK;URO;STR;STRP;STRPX;',
        'Dogs with skin allergy or sensitive skin that also need struvite prevention: a limited set of proteins with urine acidification.',
        'Growing puppies, pregnant and lactating bitches. Kidney or heart failure. Not an elimination diet.',
        365, 0, 343, 8, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Hydrolysed Protein',
        ';GI;COL;COLFI;DIA;DIAFI;FLA;FLAFI;SEN;SENGI;SENSK;',
        'Elimination trials and long-term feeding in food allergy and food intolerance, with skin or bowel signs, and inflammatory bowel disease: the protein is broken down too small to provoke a reaction.',
        'Growing puppies, pregnant and lactating bitches. Pancreatitis, for which a low-fat diet is better.',
        355, 90, 334, 8, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Novel Protein Elimination',
        ';GI;COL;COLFI;DIA;DIAFI;SEN;SENGI;SENSK;',
        'Food allergy and intolerance: one protein and one carbohydrate the dog has not eaten before, for an elimination trial of at least eight weeks and for lifelong feeding.',
        'Growing puppies, pregnant and lactating bitches. Dogs that have eaten the same protein before: choose another source.',
        365, 100, 339, 4, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Puppy Growth',
        ';REP;REPEC;REPLA;REPWE;LIF;LIFGR;',
        'Puppies of small and medium breeds from weaning, pregnant bitches in the last third of pregnancy and lactating bitches, and bitches recovering from eclampsia: energy-dense, with the calcium and phosphorus growth needs.',
        'Adult dogs that are overweight. Puppies of large and giant breeds, which need a diet with controlled calcium and energy.',
        390, 110, 359, 12, 400);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Large Breed Puppy Growth Dry',
        ';ORT;ORTSK;LIF;LIFGR;',
        'Puppies of large and giant breeds to the end of growth: controlled energy, calcium and phosphorus lower the risk of bone and joint disease of growth.',
        'Small-breed puppies, pregnant and lactating bitches (too little energy). Do not add calcium or other supplements.',
        360, 0, 338, 12, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Adult Maintenance',
        ';LIF;LIFAD;',
        'Healthy adult dogs of normal weight and activity.',
        'Growing puppies, pregnant and lactating bitches. Dogs with a disease that needs a special diet.',
        370, 100, 344, 12, 400);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Senior Maintenance',
        ';LIF;LIFSR;',
        'Healthy dogs from about seven years on: moderate energy and phosphorus, added antioxidants and omega-3 fatty acids, easy to chew.',
        'Growing puppies, pregnant and lactating bitches. Kidney disease beyond its early stage.',
        345, 90, 321, 8, 400);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Critical Care Canned',
        ';GEN;GENDB;ING;INGAN;INGEF;NEO;REC;RECCV;RECCC;RECSU;',
        'Critically ill, anorexic and post-operative dogs, cancer patients with weight loss: very digestible, high in energy, protein and fat; soft enough for syringe and tube feeding.',
        'Pancreatitis, high blood fats, liver encephalopathy and kidney failure, which do not tolerate the fat or protein. Start slowly after a long fast.',
        0, 125, 0, 0, 400);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Recovery High Energy',
        ';BLD;BLDAN;GEN;GENDB;GI;DIA;DIAMN;ING;INGAN;NEO;ORT;ORTFX;REC;RECCV;RECSU;',
        'Convalescence after surgery, injury or illness, weight gain in thin or malnourished dogs, anaemia, fracture healing, working dogs in hard work.',
        'Overweight dogs. Pancreatitis, high blood fats, kidney and liver failure.',
        410, 130, 385, 4, 400);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Oncology Support',
        ';GEN;GENDB;NEO;REC;RECCV;',
        'Dogs with cancer, also during chemotherapy: high fat and protein, low in simple sugars, with added omega-3 fatty acids to help keep weight and muscle.',
        'Pancreatitis and high blood fats. Kidney failure with raised urea.',
        415, 135, 390, 4, 370);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Dental Care Dry',
        ';ING;INGDC;',
        'Plaque and tartar control in healthy adult dogs: a large kibble with a fibre matrix that cleans the teeth as the dog chews.',
        'Growing puppies, pregnant and lactating bitches. Dogs with painful mouths or missing teeth, which cannot chew the large kibble.',
        335, 0, 302, 4, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Canine Joint Support',
        ';ORT;ORTSK;',
        'Osteoarthritis and other joint disease: high levels of omega-3 fatty acids (EPA) with glucosamine and chondroitin, and moderate energy to keep weight down.',
        'Growing puppies, pregnant and lactating bitches. Pancreatitis.',
        350, 95, 326, 12, 400);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Renal Support',
        ';REN;RENE;RENL;URO;OXA;OXAP;URA;URAP;',
        'Chronic kidney disease from about stage 2 on: restricted phosphorus and moderate, high-quality protein, added potassium and omega-3 fatty acids. Also suits cats prone to calcium oxalate or urate stones.',
        'Growing kittens, pregnant and lactating queens. Cats with low blood potassium must have it corrected first.',
        410, 115, 381, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Early Renal Support Dry',
        ';CAR;CARHT;REN;RENE;',
        'Early kidney disease (stage 1 and 2) and older cats with rising kidney values; moderate salt helps cats with high blood pressure.',
        'Growing kittens, pregnant and lactating queens. Late kidney disease, which needs a stricter diet.',
        395, 0, 359, 1.5, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Hepatic Support',
        ';HEP;HEPFE;HEPGN;HEPAS;',
        'Chronic liver disease, liver disease with encephalopathy and with fluid in the belly: moderate high-quality protein, added arginine, taurine, L-carnitine and antioxidants, low salt.',
        'Growing kittens, pregnant and lactating queens. Hepatic lipidosis without encephalopathy, which needs high protein.',
        400, 110, 368, 2, 156);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Cardiac Support',
        ';CAR;CARHT;CARF1;CARF2;CARF3;GEN;GENAO;',
        'Heart disease and heart failure, high blood pressure and fluid build-up: restricted sodium, added taurine and omega-3 fatty acids.',
        'Growing kittens, pregnant and lactating queens. Cats with low blood sodium.',
        405, 110, 377, 2, 156);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Gastrointestinal Support',
        ';GI;PAN;PANNH;COL;COLOT;DIA;DIAEPI;DIAGN;DIAMA;DIAMN;GIEP;FLA;FLAGN;GIVOM;ING;INGRG;',
        'Acute and chronic diarrhoea and vomiting, pancreatitis, pancreatic insufficiency, malabsorption, after a worm burden: highly digestible with prebiotic fibre. The canned form suits cats that regurgitate.',
        'Food-responsive disease, which needs a hydrolysed or novel-protein diet. Cats with high blood fats.',
        400, 100, 372, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Gastrointestinal Low Fat Dry',
        ';BLD;BLDHL;GI;PAN;PANHL;PANNH;',
        'Cats with high blood fats and pancreatitis with high blood fats: lower fat, highly digestible.',
        'Growing kittens, pregnant and lactating queens. Underweight cats and hepatic lipidosis.',
        360, 0, 331, 1.5, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline High Fibre',
        ';GI;COL;COLFR;GICON;DIA;DIAFR;FLA;FLAFR;',
        'Fibre-responsive colitis, constipation, flatulence helped by fibre.',
        'Growing kittens, pregnant and lactating queens. Underweight cats, megacolon with obstruction.',
        340, 85, 299, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Hairball Control Dry',
        ';GI;GICON;GIVOM;',
        'Cats that bring up hairballs and cats with mild constipation: added fibre helps swallowed hair pass through.',
        'Growing kittens, pregnant and lactating queens. Vomiting from other causes, which must be investigated.',
        350, 0, 318, 4, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Weight Reduction',
        ';END;DM;DMOB;GEN;OBS;OBSWR;',
        'Weight loss in overweight and obese cats, also diabetic ones: low energy, high protein and fibre, added L-carnitine.',
        'Growing kittens, pregnant and lactating queens, cats that are ill or underweight. Never starve a cat: fast weight loss risks hepatic lipidosis.',
        320, 75, 282, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Weight Control',
        ';END;DM;DMNW;GEN;OBS;OBSPR;',
        'Keeping the weight off after a weight-loss programme, neutered and indoor cats that gain weight easily.',
        'Growing kittens, pregnant and lactating queens.',
        350, 85, 318, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Diabetes Support',
        ';END;DM;DMNW;DMOB;DMUW;ENDHG;',
        'Diabetes mellitus: high protein and low carbohydrate help blood glucose control and can lead to remission; suits diabetic cats of normal weight or underweight, and overweight ones when fed to a weight-loss plan.',
        'Growing kittens, pregnant and lactating queens. Kidney disease beyond its early stage.',
        390, 100, 351, 4, 156);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Hyperthyroid Support',
        ';END;ENDHT;',
        'Hyperthyroidism: strictly limited iodine lowers thyroid hormone production. It must be the only food; no treats, no other food, no hunting.',
        'Growing kittens, pregnant and lactating queens, healthy cats. Cats on thyroid medication unless the vet adjusts it.',
        410, 105, 381, 2, 156);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Urinary Struvite Dissolution',
        ';URO;STR;STRD;STRP;',
        'Dissolving struvite stones and sludge and preventing their return, idiopathic cystitis: acid, dilute urine with less magnesium and phosphorus.',
        'Growing kittens, pregnant and lactating queens, heart failure, high blood pressure, kidney failure and cats with acidosis.',
        380, 95, 350, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Urinary Multi-Stone Prevention',
        ';URO;OXA;OXAP;STR;STRP;',
        'Preventing both struvite and calcium oxalate stones, idiopathic cystitis, long-term feeding of cats with a history of urinary disease.',
        'Growing kittens, pregnant and lactating queens. Dissolving existing struvite stones, which needs a dissolution diet.',
        375, 90, 345, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Urinary Weight Management',
        ';GEN;OBS;OBSWR;URO;STR;STRP;STRPO;',
        'Overweight cats with struvite stones, idiopathic cystitis or a history of them: controlled energy with urine acidification.',
        'Growing kittens, pregnant and lactating queens, cats with kidney or heart failure.',
        340, 80, 306, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Urinary Sensitivity',
        ';SEN;SENSK;URO;STR;STRP;STRPX;',
        'Cats with skin allergy or sensitive skin that also need struvite prevention: a limited set of proteins with urine acidification.',
        'Growing kittens, pregnant and lactating queens. Kidney or heart failure. Not an elimination diet.',
        370, 90, 340, 3, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Hydrolysed Protein',
        ';GI;COL;COLFI;DIA;DIAFI;FLA;FLAFI;SEN;SENGI;SENSK;',
        'Elimination trials and long-term feeding in food allergy and intolerance, with skin or bowel signs, and inflammatory bowel disease.',
        'Growing kittens, pregnant and lactating queens.',
        370, 90, 340, 3, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Novel Protein Elimination',
        ';GI;DIA;DIAFI;GIVOM;SEN;SENGI;SENSK;',
        'Food allergy and intolerance, chronic vomiting that responds to a change of food: one protein and one carbohydrate the cat has not eaten before.',
        'Growing kittens, pregnant and lactating queens. Cats that have eaten the same protein before: choose another source.',
        380, 95, 350, 1.5, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Kitten Growth',
        ';REP;REPEC;REPLA;REPWE;LIF;LIFGR;',
        'Kittens from weaning to a year old, pregnant and lactating queens, queens recovering from eclampsia: energy-dense and rich in protein.',
        'Overweight adult cats and neutered adults prone to weight gain.',
        415, 115, 386, 2, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Adult Maintenance',
        ';LIF;LIFAD;',
        'Healthy adult cats of normal weight and activity.',
        'Growing kittens, pregnant and lactating queens. Cats with a disease that needs a special diet.',
        385, 95, 354, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Senior Maintenance',
        ';LIF;LIFSR;',
        'Healthy cats from about seven years on: moderate phosphorus, added antioxidants, easy to digest.',
        'Growing kittens, pregnant and lactating queens. Kidney disease beyond its early stage.',
        370, 90, 340, 4, 85);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Critical Care Canned',
        ';GEN;GENDB;HEP;HEPFL;ING;INGAN;INGEF;NEO;REC;RECCV;RECCC;RECSU;',
        'Critically ill, anorexic and post-operative cats, hepatic lipidosis without encephalopathy, cancer patients with weight loss: very digestible and high in energy and protein; soft enough for syringe and tube feeding.',
        'Liver encephalopathy and kidney failure, which do not tolerate the protein. Start slowly after a long fast.',
        0, 120, 0, 0, 156);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Recovery High Energy',
        ';BLD;BLDAN;GEN;GENDB;GI;DIA;DIAMN;ING;INGAN;NEO;ORT;ORTFX;REC;RECCV;RECSU;',
        'Convalescence after surgery, injury or illness, weight gain in thin or malnourished cats, anaemia, fracture healing.',
        'Overweight cats. Kidney failure and liver encephalopathy.',
        420, 125, 391, 1.5, 156);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Dental Care Dry',
        ';ING;INGDC;',
        'Plaque and tartar control in healthy adult cats: a large kibble with a fibre matrix that cleans the teeth as the cat chews.',
        'Growing kittens, pregnant and lactating queens. Cats with painful mouths or missing teeth.',
        350, 0, 318, 1.5, 0);
INSERT INTO [Diets] ([Generic], [Category], [Indications], [Contraindications], [ME Dry], [ME Can],
                     [KCal per cup dry], [Form Dry], [Form Can])
VALUES ('Feline Joint Support',
        ';ORT;ORTSK;',
        'Osteoarthritis and other joint disease: omega-3 fatty acids (EPA) with glucosamine and chondroitin, moderate energy.',
        'Growing kittens, pregnant and lactating queens.',
        375, 90, 345, 2, 85);
